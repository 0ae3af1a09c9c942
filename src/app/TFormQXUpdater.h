#pragma once

#include "app/IUpdateReporter.h"
#include "app/UpdateState.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QTimer;
class THVButtonPanel;
class THVProgressBar;
class THVTitle;

// The updater's one window: header picture, title banner, progress list, progress bar
// and a Cancel button. Showing it reads the update job; 100 ms later its start timer runs
// the update, which reports through the IUpdateReporter operations.
class TFormQXUpdater : public QWidget, public IUpdateReporter
{
    Q_OBJECT
public:
    // arguments: the command line, program name first (decides the job file).
    explicit TFormQXUpdater(const QStringList &arguments, QWidget *parent = nullptr);
    ~TFormQXUpdater() override;

    // IUpdateReporter
    void AddProgressLine(const QString &text, int level) override;
    void ReportResult(bool isError, const QString &text) override;
    void ReportException(const std::exception &e) override;
    void CloseUpdater() override;
    void SetProgressMax(int max) override;
    void SetProgressPosition(int position) override;

    // Job settings and shared flags; ExitCode is the process exit code.
    UpdateState State;

    // Where progress lines go besides the list in silent mode (the run log), when set.
    std::function<void(const QString &text, int level)> RunLogSink;

    // When false, showing the window neither reads the job nor starts the update
    // (for embedding the window, e.g. to take screenshots).
    bool StartJobOnShow = true;

    // Components, top to bottom.
    QWidget *pnlHeader = nullptr;
    QLabel *imgHeader = nullptr;
    THVTitle *HVTitle = nullptr;
    QWidget *ElPanel1 = nullptr;
    QListWidget *lbxMain = nullptr;
    QWidget *ElPanel2 = nullptr;
    THVProgressBar *ProgressBar = nullptr;
    THVButtonPanel *ButtonPanel = nullptr;
    QTimer *tmrStart = nullptr;

    // Event handlers.
    void FormCreate();
    void FormShow();
    void ButtonPanelClickAbbrechen(QObject *sender);
    void tmrStartTimer();

    // The updater's staging folder: the folder of its own program file.
    static QString StagingFolder();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildComponents();
    void OpenRunLog();
    void RunUpdate();

    QStringList m_arguments;
    bool m_shownOnce = false;
};
