#include "ui/options/CPreviewGesturesDlg.h"

#include "speech/CCharacterManager.h"
#include "ui/LayoutManager.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CPreviewGesturesDlg::CPreviewGesturesDlg(const QStringList& gestures, CCharacterManager& characters, QWidget* parent)
    : CQuorvaneDialog(parent)
    , m_characters(characters)
{
    setObjectName(u"previewGesturesDialog"_s);
    setWindowTitle(u"Preview Character Gestures"_s);

    auto* group = new QGroupBox(u" Gestures "_s, this);
    m_list = WithControlId(new QTreeWidget(group), 1057);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({u"Gesture"_s});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(16, 16));
    m_list->setMinimumSize(220, 260);
    const QIcon image(u":/options/gesture.svg"_s);
    for (const QString& gesture : gestures) {
        if (gesture == CCharacterManager::NoGesture())
            continue;
        auto* item = new QTreeWidgetItem(m_list, {gesture});
        item->setIcon(0, image);
    }
    m_list->sortItems(0, Qt::AscendingOrder);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(0, Qt::AscendingOrder);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_list);

    m_play = WithControlId(new QPushButton(u"&Play"_s, this), 1058);
    m_play->setDefault(true);
    m_stop = WithControlId(new QPushButton(u"&Stop"_s, this), 1060);
    m_stop->setAutoDefault(false);
    auto* close = WithControlId(new QPushButton(u"&Close"_s, this), 1);
    close->setAutoDefault(false);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_play);
    buttons->addWidget(m_stop);
    buttons->addWidget(close);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);

    connect(m_play, &QPushButton::clicked, this, &CPreviewGesturesDlg::OnPlay);
    connect(m_stop, &QPushButton::clicked, this, &CPreviewGesturesDlg::OnStop);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CPreviewGesturesDlg::OnPlay);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void CPreviewGesturesDlg::OnPlay()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (item == nullptr)
        return;
    // Shown whatever the quiet switch and the chosen way of speaking say: this is a preview.
    m_characters.Say(u"Here it is."_s, item->text(0), true, false, true);
}

void CPreviewGesturesDlg::OnStop()
{
    m_characters.StopCharacter();
}
