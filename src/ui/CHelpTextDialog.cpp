#include "ui/CHelpTextDialog.h"

#include "base/CSettings.h"
#include "speech/CCharacterManager.h"
#include "ui/CIconDialog.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// "Character Talks (No Balloon)": how a help text is read, whatever the user chose.
constexpr qint32 kTalksWithoutBalloon = 1;

} // namespace

CHelpTextDialog::CHelpTextDialog(int topicId, CCharacterManager* characters, QWidget* parent)
    : CQuorvaneDialog(parent)
    , m_topicId(topicId)
    , m_characters(characters)
{
    setObjectName(u"helpTextDialog"_s);
    setWindowTitle(u"Quorvane Help "_s);
    setWindowIcon(CIconDialog::ProgramIcon());

    auto* group = new QGroupBox(u" Help "_s, this);
    auto* icon = new QLabel(group);
    icon->setPixmap(CIconDialog::ProgramIcon().pixmap(32, 32));
    // The help speaks of the character that is loaded.
    const QString name = characters ? characters->CharacterName() : QString();
    m_text = new QLabel(name.isEmpty() ? HelpTopics::Text(topicId) : HelpTopics::Text(topicId, name), group);
    m_text->setObjectName(u"helpText"_s);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setMinimumWidth(380);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(icon, 0, Qt::AlignTop);
    groupLayout->addWidget(m_text, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CHelpTextDialog::~CHelpTextDialog()
{
    StopReading();
}

QString CHelpTextDialog::Text() const
{
    return m_text->text();
}

void CHelpTextDialog::showEvent(QShowEvent* event)
{
    CQuorvaneDialog::showEvent(event);
    if (!event->spontaneous())
        ReadAloud();
}

void CHelpTextDialog::ReadAloud()
{
    if (m_characters == nullptr || m_reading)
        return;
    CSettings& settings = GetSettings();
    const qint32 method = settings.notificationMethod;
    settings.notificationMethod = kTalksWithoutBalloon;
    m_characters->Say(m_text->text(), ReadGesture(), false, false, false);
    settings.notificationMethod = method;
    m_reading = true;
}

void CHelpTextDialog::StopReading()
{
    if (!m_reading)
        return;
    m_reading = false;
    if (m_characters)
        m_characters->StopCharacter();
}

void CHelpTextDialog::done(int result)
{
    // OK, Escape and the close box all end here: the reading ends with the window.
    StopReading();
    CQuorvaneDialog::done(result);
}

void ShowHelpTopic(int topicId, CCharacterManager* characters, QWidget* parent)
{
    CHelpTextDialog dialog(topicId, characters, parent);
    dialog.exec();
}
