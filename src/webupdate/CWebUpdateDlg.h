#pragma once

#include "base/VersionNumber.h"
#include "ui/CQuorvaneDialog.h"
#include "webupdate/WebTransfer.h"

#include <QString>

class CHyperLinkDL;
class CUpdateCheck;
class CUpdateDownload;
class IReachability;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The web update dialog. On opening it checks the version file (CUpdateCheck) and says whether a
// newer version exists; its links open the news window and download the update into the Desktop
// folder (CUpdateDownload) with a progress bar. Cancel stops what runs (the dialog closes once a
// check has ended; a download is removed and the dialog shows the update again); Close replaces it
// whenever nothing runs. A completed download closes the dialog, keeping the file's path.
//
// The window never waits on the network: both transfers run on worker threads.
class CWebUpdateDlg final : public CQuorvaneDialog
{
    Q_OBJECT

public:
    // url: the version file; programPath: the program whose version is compared; proxy: as
    // WebUpdateSettings::ProxyText gives it. reachability: the network check; null = the system's.
    CWebUpdateDlg(const QString& url, const QString& programPath, const QString& proxy,
                  IReachability* reachability = nullptr, QWidget* parent = nullptr);
    ~CWebUpdateDlg() override;

    // The completed download's full path; empty when none completed.
    QString DownloadedFile() const { return m_downloadedFile; }
    bool IsBusy() const { return m_busy; }

    // Tests shorten the transfers' time-outs and lower the download's size limit.
    void SetTimeouts(int connectMs, int stallSeconds);
    CUpdateDownload& Downloader() const { return *m_download; }

    // Cancel while something runs, else close (also Escape and the window's close box).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartCheck();
    void OnCheckFinished(int code);
    void OnViewNews();
    void OnDownload();
    void OnProgress(qint64 count, qint64 total);
    void OnDownloadFinished(int result);
    void ShowCancel(bool cancel);
    QString UpdateText() const;
    WebTransfer::Request Request(const QString& url) const;

    QString m_url;
    QString m_proxy;
    IReachability* m_reachability;
    VersionNumber m_installed;
    int m_connectMs = WebTransfer::kDefaultConnectMs;
    int m_stallSeconds = WebTransfer::kDefaultStallSeconds;

    CUpdateCheck* m_check = nullptr;
    CUpdateDownload* m_download = nullptr;
    bool m_started = false;
    bool m_busy = false;
    bool m_cancelRequested = false;
    bool m_firstProgressSeen = false;
    QString m_downloadedFile;

    QLabel* m_status = nullptr;
    QGroupBox* m_links = nullptr;
    QLabel* m_linksIcon = nullptr;
    QLabel* m_linksText = nullptr;
    CHyperLinkDL* m_newsLink = nullptr;
    CHyperLinkDL* m_downloadLink = nullptr;
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_close = nullptr;
};
