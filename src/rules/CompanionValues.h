#pragma once

#include <QtGlobal>

// Three small values kept beside the alerts: the Stocks page's sort criterion and order, and the
// quiet switch. They live in the option store ("Stock Sort"/"Criteria", "Stock Sort"/"Order",
// "Character"/"Globally Disable"), are read by the start-up data load, held in memory, and written
// only when a setter is given a value different from the one held.

// Reads the three values (each falls back to 0 when missing or out of range).
void LoadCompanionValues();

// 0 none; n = 1 ... 5 sorts by list column n - 1 of the Stocks page.
qint32 QueryStockSortCriteria();
void StoreStockSortCriteria(qint32 criteria);

// 0 ascending, 1 descending.
qint32 QueryStockSortOrder();
void StoreStockSortOrder(qint32 order);

// The quiet switch: on while the toolbar's quiet button is pushed.
bool QueryGloballyDisabled();
void StoreGloballyDisabled(bool disabled);
