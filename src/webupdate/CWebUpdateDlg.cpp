#include "webupdate/CWebUpdateDlg.h"

#include "base/FileVersionInfo.h"
#include "base/ReachabilityPolicy.h"
#include "base/UserMessage.h"
#include "platform/IReachability.h"
#include "platform/SystemReachability.h"
#include "ui/CHyperLinkDL.h"
#include "ui/CIconDialog.h"
#include "webupdate/CNewsDlg.h"
#include "webupdate/CUpdateCheck.h"
#include "webupdate/CUpdateDownload.h"
#include "webupdate/WebUpdateSettings.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The width of the status text and of the links' text.
constexpr int kTextWidth = 330;

// Message boxes of the web update carry the application's title.
const QString kCaption = u"Quorva"_s;

const QString kAccessing = u"Accessing update information ..."_s;
const QString kCheckFailed = u"Could not retrieve update information from the Internet.  Please check your Internet "
                             "settings and try again later."_s;
const QString kUpdateAvailable =
    u"An update is available!  Version %1 was released on %2, and the download size is %3."_s;
const QString kNoUpdate = u"There are no updates available.  The latest news is dated %1."_s;
const QString kNewsLink = u"View News (updated %1)"_s;
const QString kNewsTip = u"Display news and update enhancements."_s;
const QString kDownloadLink = u"Download the update (%1)"_s;
const QString kWebError = u"An error has occurred while accessing the web."_s;
const QString kFileError = u"An error has occurred while saving the downloaded file."_s;
const QString kDamaged = u"The downloaded update arrived damaged (its checksum does not match the one the update site "
                         "announced) and was deleted.  Please try again later."_s;
const QString kDownloading = u"Downloading the update to your Desktop folder ... %1%"_s;
const QString kDownloadingUnknownSize = u"Downloading the update to your Desktop folder ... %1 KB"_s;
const QString kDownloadProgress = u"Download Progress"_s;
const QString kCancelling = u"Cancelling web access ... please wait."_s;
const QString kDownloaded = u"The update has been successfully downloaded and stored in your Desktop folder."_s;

QLabel* IconLabel(QStyle::StandardPixmap pixmap, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setPixmap(parent->style()->standardIcon(pixmap).pixmap(32, 32));
    label->setAlignment(Qt::AlignTop);
    return label;
}

QString DesktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return desktop.isEmpty() ? QDir::homePath() : desktop;
}

} // namespace

CWebUpdateDlg::CWebUpdateDlg(const QString& url, const QString& programPath, const QString& proxy,
                             IReachability* reachability, QWidget* parent)
    : CQuorvaneDialog(parent)
    , m_url(url)
    , m_proxy(proxy)
    , m_reachability(reachability)
{
    setObjectName(u"webUpdateDialog"_s);
    setWindowTitle(u"Quorvane Web Update"_s);
    setWindowIcon(CIconDialog::ProgramIcon());
    FileVersionInfo(programPath).GetFixedVersion(m_installed);

    m_check = new CUpdateCheck(this);
    m_download = new CUpdateDownload(this);
    connect(m_check, &CUpdateCheck::Finished, this, &CWebUpdateDlg::OnCheckFinished);
    connect(m_download, &CUpdateDownload::Progress, this, &CWebUpdateDlg::OnProgress);
    connect(m_download, &CUpdateDownload::Finished, this, &CWebUpdateDlg::OnDownloadFinished);

    auto* statusGroup = new QGroupBox(u"Status"_s, this);
    m_status = new QLabel(statusGroup);
    m_status->setObjectName(u"status"_s);
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    // Room for the longest status (three lines): the dialog keeps its size as the texts change.
    m_status->setFixedWidth(kTextWidth);
    m_status->setMinimumHeight(3 * m_status->fontMetrics().lineSpacing());
    auto* statusLayout = new QHBoxLayout(statusGroup);
    statusLayout->addWidget(IconLabel(QStyle::SP_MessageBoxInformation, statusGroup));
    statusLayout->addWidget(m_status, 1);

    m_links = new QGroupBox(u"Links"_s, this);
    m_links->setObjectName(u"links"_s);
    m_linksIcon = IconLabel(QStyle::SP_ArrowDown, m_links);
    m_linksIcon->setAlignment(Qt::AlignTop);
    m_linksText = new QLabel(u"Click the links below to access the update:"_s, m_links);
    m_linksText->setWordWrap(true);
    m_linksText->setFixedWidth(kTextWidth - 8);
    m_newsLink = new CHyperLinkDL(u"View update description ..."_s, m_links);
    m_newsLink->setObjectName(u"newsLink"_s);
    m_downloadLink = new CHyperLinkDL(u"Download the update (502 KB)"_s, m_links);
    m_downloadLink->setObjectName(u"downloadLink"_s);
    auto* linkColumn = new QVBoxLayout;
    linkColumn->addWidget(m_linksText);
    linkColumn->addWidget(m_newsLink);
    linkColumn->addWidget(m_downloadLink);
    auto* linksLayout = new QHBoxLayout(m_links);
    linksLayout->addWidget(m_linksIcon);
    linksLayout->addLayout(linkColumn, 1);
    connect(m_newsLink, &CHyperLink::clicked, this, &CWebUpdateDlg::OnViewNews);
    connect(m_downloadLink, &CHyperLink::clicked, this, &CWebUpdateDlg::OnDownload);

    m_progressLabel = new QLabel(kDownloadProgress, this);
    m_progressLabel->setObjectName(u"progressLabel"_s);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"progress"_s);
    m_progress->setTextVisible(false);

    // Cancel and Close take the same place: one of them is shown.
    m_cancel = new QPushButton(u"Cancel"_s, this);
    m_cancel->setObjectName(u"cancelButton"_s);
    m_close = new QPushButton(u"Close"_s, this);
    m_close->setObjectName(u"closeButton"_s);
    connect(m_cancel, &QPushButton::clicked, this, &CWebUpdateDlg::reject);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusGroup);
    layout->addWidget(m_links);
    layout->addWidget(m_progressLabel);
    layout->addWidget(m_progress);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Hidden parts keep their place, as in a dialog drawn once with all its controls.
    for (QWidget* part : std::initializer_list<QWidget*>{m_links, m_linksIcon, m_linksText, m_newsLink, m_downloadLink,
                                                         m_progressLabel, m_progress}) {
        QSizePolicy policy = part->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        part->setSizePolicy(policy);
    }

    m_links->hide();
    m_linksIcon->hide();
    m_linksText->hide();
    m_newsLink->hide();
    m_downloadLink->hide();
    m_progressLabel->hide();
    m_progress->hide();
    ShowCancel(true);
    m_status->setText(kAccessing);
}

CWebUpdateDlg::~CWebUpdateDlg() = default;

void CWebUpdateDlg::SetTimeouts(int connectMs, int stallSeconds)
{
    m_connectMs = connectMs;
    m_stallSeconds = stallSeconds;
}

WebTransfer::Request CWebUpdateDlg::Request(const QString& url) const
{
    WebTransfer::Request request = WebTransfer::Request::Make(url, m_proxy, WebUpdateSettings::UserAgent());
    request.connectMs = m_connectMs;
    request.stallSeconds = m_stallSeconds;
    return request;
}

void CWebUpdateDlg::showEvent(QShowEvent* event)
{
    CQuorvaneDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        StartCheck();
    }
}

void CWebUpdateDlg::ShowCancel(bool cancel)
{
    m_cancel->setVisible(cancel);
    m_close->setVisible(!cancel);
    m_cancel->setDefault(cancel);
    m_close->setDefault(!cancel);
}

// The check ----------------------------------------------------------------------------------------

void CWebUpdateDlg::StartCheck()
{
    m_status->setText(kAccessing);
    m_busy = true;
    IReachability& reachability = m_reachability ? *m_reachability : SystemReachability::Instance();
    if (ReachabilityHoldsRequestsBack() && !reachability.IsConnected()) {
        QMetaObject::invokeMethod(
            this, [this] { OnCheckFinished(CUpdateCheck::CHECK_FAILED); }, Qt::QueuedConnection);
        return;
    }
    m_check->Start(Request(m_url), m_installed);
}

QString CWebUpdateDlg::UpdateText() const
{
    const VersionFile& values = m_check->Values();
    // One pass over our own text: what the version file says is never read as a placeholder.
    return kUpdateAvailable.arg(values.versionToDisplay, values.releaseDate, values.fileSize);
}

void CWebUpdateDlg::OnCheckFinished(int code)
{
    m_busy = false;
    ShowCancel(false);
    if (m_cancelRequested) {
        done(QDialog::Rejected);
        return;
    }
    if (code != CUpdateCheck::CHECK_OK) {
        m_status->setText(kCheckFailed);
        return;
    }
    const VersionFile& values = m_check->Values();
    m_links->show();
    m_linksIcon->show();
    m_linksText->show();
    m_newsLink->setText(kNewsLink.arg(values.newsDate));
    m_newsLink->setToolTip(kNewsTip);
    m_newsLink->show();
    if (m_check->IsUpdateAvailable()) {
        m_status->setText(UpdateText());
        m_progressLabel->show();
        m_progress->setRange(0, 100);
        m_progress->setValue(0);
        m_progress->show();
        m_downloadLink->setText(kDownloadLink.arg(values.fileSize));
        m_downloadLink->SetLink(values.fileUrl);
        m_downloadLink->setToolTip(values.fileUrl);
        m_downloadLink->show();
    } else {
        m_status->setText(kNoUpdate.arg(values.newsDate));
    }
}

void CWebUpdateDlg::OnViewNews()
{
    CNewsDlg news(this);
    news.SetDescription(m_check->Description());
    news.SetHeadings(m_check->Values().newChangesText, m_check->Values().oldChangesText);
    news.SetInstalledVersion(m_installed);
    news.exec();
}

// The download -------------------------------------------------------------------------------------

void CWebUpdateDlg::OnDownload()
{
    if (m_busy)
        return;
    const VersionFile& values = m_check->Values();
    // Nothing is ever written outside the Desktop folder: a name that could leave it is refused.
    const QString name = CUpdateDownload::FileNameOf(values.fileUrl);
    if (name.isEmpty()) {
        ShowUserMessage(kWebError, kCaption, MessageIcon::Error);
        return;
    }
    const QString folder = DesktopFolder();
    m_cancelRequested = false;
    m_firstProgressSeen = false;
    ShowCancel(true);
    m_busy = true;
    IReachability& reachability = m_reachability ? *m_reachability : SystemReachability::Instance();
    if (!reachability.IsConnected()) {
        ShowUserMessage(kCheckFailed, kCaption, MessageIcon::Warning);
        OnDownloadFinished(CUpdateDownload::DOWNLOAD_NO_CONNECTION);
        return;
    }
    m_download->Start(Request(values.fileUrl), folder, name, values.sha256);
}

void CWebUpdateDlg::OnProgress(qint64 count, qint64 total)
{
    if (!m_busy)
        return;
    if (!m_firstProgressSeen) {
        m_firstProgressSeen = true;
        // Without an announced size the bar only shows that the download is under way.
        m_progress->setRange(0, total > 0 ? int(qMin<qint64>(total, std::numeric_limits<int>::max())) : 0);
    }
    if (total < 0) {
        m_progressLabel->setText(kDownloadingUnknownSize.arg(count / 1024));
        return;
    }
    const qint64 percent = total > 0 ? count * 100 / total : 100;
    m_progressLabel->setText(kDownloading.arg(percent));
    m_progress->setValue(int(qMin<qint64>(count, m_progress->maximum())));
}

void CWebUpdateDlg::OnDownloadFinished(int result)
{
    m_busy = false;
    if (result == CUpdateDownload::DOWNLOAD_ERROR) {
        switch (m_download->LastError()) {
        case CUpdateDownload::Error::File:
            ShowUserMessage(kFileError, kCaption, MessageIcon::Error);
            break;
        case CUpdateDownload::Error::Damaged:
            ShowUserMessage(kDamaged, kCaption, MessageIcon::Error);
            break;
        default:
            ShowUserMessage(kWebError, kCaption, MessageIcon::Error);
            break;
        }
    }
    switch (result) {
    case CUpdateDownload::DOWNLOAD_CANCELLED:
    case CUpdateDownload::DOWNLOAD_NO_CONNECTION:
    case CUpdateDownload::DOWNLOAD_ERROR:
        // Back to the state before the download (the partial file is gone).
        m_status->setText(UpdateText());
        m_progressLabel->setText(kDownloadProgress);
        m_progress->setRange(0, 100);
        m_progress->setValue(0);
        break;
    case CUpdateDownload::DOWNLOAD_COMPLETE:
        m_status->setText(kDownloaded);
        m_links->hide();
        m_linksIcon->hide();
        m_linksText->hide();
        m_progressLabel->hide();
        m_progress->hide();
        m_newsLink->hide();
        m_downloadLink->hide();
        break;
    default:
        break;
    }
    ShowCancel(false);
    if (result == CUpdateDownload::DOWNLOAD_COMPLETE) {
        m_downloadedFile = m_download->FilePath();
        done(QDialog::Accepted);
    }
}

void CWebUpdateDlg::reject()
{
    if (!m_busy) {
        CQuorvaneDialog::reject();
        return;
    }
    m_cancelRequested = true;
    m_status->setText(kCancelling);
    m_check->Cancel();
    m_download->Cancel();
}
