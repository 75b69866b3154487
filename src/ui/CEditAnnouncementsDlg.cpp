#include "ui/CEditAnnouncementsDlg.h"

#include "rules/AnnouncementList.h"
#include "rules/CAnnouncement.h"
#include "ui/HelpTopics.h"
#include "ui/IPageHost.h"
#include "ui/LayoutManager.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString NewAnnouncementName()
{
    return u"(New)"_s;
}

} // namespace

CEditAnnouncementsDlg::CEditAnnouncementsDlg(IPageHost& host, QWidget* parent)
    : CIconDialog(parent)
    , m_host(host)
{
    setWindowTitle(u"Edit Announcements"_s);

    auto* group = new QGroupBox(u"&Announcements"_s, this);
    m_list = WithControlId(new QListWidget(group), 236);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* add = WithControlId(new QPushButton(u"&Add"_s, group), 238);
    m_remove = WithControlId(new QPushButton(u"&Remove"_s, group), 239);
    m_preview = WithControlId(new QPushButton(u"&Preview"_s, group), 232);
    auto* help = WithControlId(new QPushButton(u"&Help"_s, group), 233);
    for (QPushButton* button : {add, m_remove, m_preview, help})
        button->setAutoDefault(false);

    m_name = WithControlId(new QLineEdit(group), 209);
    m_gestureBefore = WithControlId(new QComboBox(group), 230);
    m_sayBefore = WithControlId(new QPlainTextEdit(group), 207);
    m_sayBefore->setTabChangesFocus(true);
    m_sayBefore->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sayBefore->setFixedHeight(m_sayBefore->fontMetrics().lineSpacing() * 4 + 12);
    m_gestureAfter = WithControlId(new QComboBox(group), 231);
    m_sayAfter = WithControlId(new QLineEdit(group), 212);

    auto label = [group](const QString& text, QWidget* buddy) {
        auto* result = new QLabel(text, group);
        result->setBuddy(buddy);
        return result;
    };

    auto* listButtons = new QHBoxLayout;
    for (QPushButton* button : {add, m_remove, m_preview, help})
        listButtons->addWidget(button);

    auto* fields = new QVBoxLayout;
    fields->addWidget(label(u"Announcment name"_s, m_name));
    fields->addWidget(m_name);
    fields->addWidget(label(u"Gesture at the beginning of the announcement"_s, m_gestureBefore));
    fields->addWidget(m_gestureBefore);
    fields->addWidget(label(u"Say at the beginning of the announcement"_s, m_sayBefore));
    fields->addWidget(m_sayBefore);
    fields->addWidget(label(u"Gesture at the end of the announcement"_s, m_gestureAfter));
    fields->addWidget(m_gestureAfter);
    fields->addWidget(label(u"Say at the end of the announcement"_s, m_sayAfter));
    fields->addWidget(m_sayAfter);

    auto* macrosTitle = WithControlId(new QLabel(u"Available Macros"_s, group), 1047);
    QFont bold = macrosTitle->font();
    bold.setBold(true);
    macrosTitle->setFont(bold);
    fields->addSpacing(6);
    fields->addWidget(macrosTitle);
    fields->addWidget(
        WithControlId(new QLabel(u"STOCK - Replaced by the name of the stock being announced."_s, group), 1048));
    fields->addWidget(
        WithControlId(new QLabel(u"PRICE - Replaced by the price of the stock being announced."_s, group), 1049));
    fields->addWidget(WithControlId(new QLabel(u"CHANGE - Replaced by the change in stock price."_s, group), 1050));
    fields->addStretch(1);

    auto* grid = new QGridLayout(group);
    grid->addWidget(m_list, 0, 0);
    grid->addLayout(listButtons, 1, 0);
    grid->addLayout(fields, 0, 1, 2, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 2);

    auto* close = WithControlId(new QPushButton(u"&Close"_s, this), 1);
    close->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(bottom);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(add, &QPushButton::clicked, this, &CEditAnnouncementsDlg::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CEditAnnouncementsDlg::OnRemove);
    connect(m_preview, &QPushButton::clicked, this, &CEditAnnouncementsDlg::OnPreview);
    connect(help, &QPushButton::clicked, this, [this] { m_host.ShowHelpTopic(HelpTopics::EditAnnouncements); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { LoadSelection(); });
    connect(m_name, &QLineEdit::textEdited, this, &CEditAnnouncementsDlg::OnNameEdited);
}

CEditAnnouncementsDlg::~CEditAnnouncementsDlg()
{
    // Destroyed without being closed (its owner went away): keep the edits all the same.
    if (m_initialized && !m_closed)
        StoreCurrent();
}

void CEditAnnouncementsDlg::showEvent(QShowEvent* event)
{
    m_closed = false;
    if (!m_initialized) {
        m_initialized = true;
        Initialize();
    }
    CIconDialog::showEvent(event);
}

void CEditAnnouncementsDlg::Initialize()
{
    QStringList gestures = m_host.GetGestureList();
    // The gesture lists keep themselves sorted, without regard to case.
    std::sort(gestures.begin(), gestures.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    m_gestureBefore->addItems(gestures);
    m_gestureAfter->addItems(gestures);

    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < GetAnnouncementCount(); ++i)
        m_list->addItem(GetAnnouncement(i)->Name());
    int selection = -1;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text().startsWith(presetName, Qt::CaseInsensitive)) {
            selection = i;
            break;
        }
    }
    if (selection == -1 && m_list->count() > 0)
        selection = 0;
    m_list->setCurrentRow(selection);
    LoadSelection();
}

void CEditAnnouncementsDlg::ShowGesture(QComboBox* list, const QString& gesture)
{
    // Exact match without regard to case; a gesture the character lacks shows no selection.
    list->setCurrentIndex(list->findText(gesture, Qt::MatchFixedString));
}

void CEditAnnouncementsDlg::LoadSelection()
{
    StoreCurrent();
    m_current = m_list->currentRow();
    const CAnnouncement* announcement = GetAnnouncement(m_current);
    if (!announcement)
        m_current = -1;
    m_storedGestureBefore = announcement ? announcement->GestureBefore() : QString();
    m_storedGestureAfter = announcement ? announcement->GestureAfter() : QString();
    m_name->setText(announcement ? announcement->Name() : QString());
    ShowGesture(m_gestureBefore, m_storedGestureBefore);
    m_sayBefore->setPlainText(announcement ? announcement->SayBefore() : QString());
    ShowGesture(m_gestureAfter, m_storedGestureAfter);
    m_sayAfter->setText(announcement ? announcement->SayAfter() : QString());

    const bool selected = m_current != -1;
    m_remove->setEnabled(m_list->count() >= 2 && selected);
    m_preview->setEnabled(selected);
}

void CEditAnnouncementsDlg::StoreCurrent()
{
    CAnnouncement* announcement = GetAnnouncement(m_current);
    if (!announcement)
        return;
    auto gestureOf = [](const QComboBox* list, const QString& stored) {
        return list->currentIndex() >= 0 ? list->currentText() : stored;
    };
    announcement->SetName(m_name->text());
    announcement->SetGestureBefore(gestureOf(m_gestureBefore, m_storedGestureBefore));
    announcement->SetSayBefore(m_sayBefore->toPlainText());
    announcement->SetGestureAfter(gestureOf(m_gestureAfter, m_storedGestureAfter));
    announcement->SetSayAfter(m_sayAfter->text());
    SaveAnnouncements();
}

void CEditAnnouncementsDlg::OnNameEdited(const QString& text)
{
    if (QListWidgetItem* item = m_list->item(m_current))
        item->setText(text);
}

void CEditAnnouncementsDlg::OnAdd()
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text().startsWith(NewAnnouncementName(), Qt::CaseInsensitive)) {
            m_list->setCurrentRow(i); // loads it (a change of row) ...
            if (m_list->currentRow() == i && m_current != i)
                LoadSelection(); // ... or it was the selected row already but not loaded
            return;
        }
    }

    auto announcement = std::make_unique<CAnnouncement>();
    announcement->SetName(NewAnnouncementName());
    announcement->SetGestureBefore(CAnnouncement::NoGesture());
    announcement->SetSayBefore(u"STOCK has reached the target price you have specified."_s);
    announcement->SetGestureAfter(CAnnouncement::NoGesture());
    announcement->SetSayAfter(u"STOCK is now PRICE."_s);
    const int index = std::max(0, m_list->currentRow());
    if (!InsertAnnouncement(index, std::move(announcement)))
        return;
    {
        const QSignalBlocker blocker(m_list);
        m_list->insertItem(index, NewAnnouncementName());
        m_list->setCurrentRow(index);
    }
    if (m_current != -1 && m_current >= index)
        ++m_current;
    LoadSelection();
    m_name->setFocus();
    m_name->selectAll();
}

void CEditAnnouncementsDlg::OnRemove()
{
    if (m_current == -1 || m_list->count() < 2)
        return;
    RemoveAnnouncement(m_current);
    {
        const QSignalBlocker blocker(m_list);
        delete m_list->takeItem(m_current);
        if (m_current > m_list->count() - 1)
            --m_current;
        m_list->setCurrentRow(m_current);
    }
    m_current = -1;
    LoadSelection();
}

void CEditAnnouncementsDlg::OnPreview()
{
    LoadSelection();
    if (const CAnnouncement* announcement = GetAnnouncement(m_current))
        m_host.PlayAnnouncement(announcement, nullptr, true);
}

void CEditAnnouncementsDlg::done(int result)
{
    if (!m_closed) {
        StoreCurrent();
        m_closed = true;
    }
    CIconDialog::done(result);
}
