#include "app/TFormQXUpdater.h"

#include "app/UpdateGuard.h"
#include "app/UpdateJob.h"
#include "app/UpdateSequence.h"
#include "common/HVException.h"
#include "platform/files/PathText.h"
#include "platform/log/RunLog.h"
#include "platform/system/Accounts.h"
#include "ui/controls/LogoStore.h"
#include "ui/controls/THVButtonPanel.h"
#include "ui/controls/THVProgressBar.h"
#include "ui/controls/THVTitle.h"
#include "ui/dialogs/ShowMessageDialog.h"
#include "ui/translation/InterfaceFont.h"
#include "ui/translation/TranslateComponent.h"
#include "ui/translation/Translation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 614;
constexpr int kClientHeight = 341;
constexpr int kItemHeight = 13;

// Progress lines are one list row each: line breaks and other control characters of
// a line are shown as blanks, so a line never spills over its row.
QString RowText(const QString &text)
{
    QString row = text;
    for (QChar &c : row) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return row;
}

class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight);
    }
};

QWidget *NewPanel(QWidget *parent, const char *name)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    return panel;
}

} // namespace

TFormQXUpdater::TFormQXUpdater(const QStringList &arguments, QWidget *parent)
    : QWidget(parent), m_arguments(arguments)
{
    setObjectName(QStringLiteral("FormQXUpdater"));
    BuildComponents();
    FormCreate();
    // What the window base does after FormCreate: translate the whole window.
    TranslateComponent(this);
}

TFormQXUpdater::~TFormQXUpdater() = default;

void TFormQXUpdater::BuildComponents()
{
    setWindowTitle(QStringLiteral("QUORVEX Update"));
    // Fixed dialog border: the client area has one size.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    QFont windowFont(InterfaceFontName());
    windowFont.setPixelSize(11);
    setFont(windowFont);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlHeader = NewPanel(this, "pnlHeader");
    pnlHeader->setFixedHeight(41);
    auto *headerLayout = new QVBoxLayout(pnlHeader);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    imgHeader = new QLabel(pnlHeader);
    imgHeader->setObjectName(QStringLiteral("imgHeader"));
    imgHeader->setFixedSize(kClientWidth, 41);
    imgHeader->setAlignment(Qt::AlignCenter);
    headerLayout->addWidget(imgHeader, 0, Qt::AlignBottom);
    layout->addWidget(pnlHeader);

    HVTitle = new THVTitle(this);
    HVTitle->setObjectName(QStringLiteral("HVTitle"));
    HVTitle->setFixedHeight(50);
    HVTitle->SetAlign(alTop);
    HVTitle->SetTitleStyle(tsFlat);
    HVTitle->SetCaption(QStringLiteral("QUORVEX program update in Progress..."));
    layout->addWidget(HVTitle);

    ElPanel1 = NewPanel(this, "ElPanel1");
    auto *inner = new QVBoxLayout(ElPanel1);
    inner->setContentsMargins(8, 8, 8, 8);
    inner->setSpacing(0);
    lbxMain = new QListWidget(ElPanel1);
    lbxMain->setObjectName(QStringLiteral("lbxMain"));
    lbxMain->setItemDelegate(new FixedHeightDelegate(lbxMain));
    lbxMain->setUniformItemSizes(true);
    lbxMain->setTextElideMode(Qt::ElideRight);
    lbxMain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    inner->addWidget(lbxMain, 1);
    ElPanel2 = NewPanel(ElPanel1, "ElPanel2");
    ElPanel2->setFixedHeight(8);
    inner->addWidget(ElPanel2);
    ProgressBar = new THVProgressBar(ElPanel1);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setFixedHeight(20);
    ProgressBar->SetStep(1);
    inner->addWidget(ProgressBar);
    layout->addWidget(ElPanel1, 1);

    ButtonPanel = new THVButtonPanel(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    ButtonPanel->SetButtonsVisible({});
    ButtonPanel->SetOnClick(btAbbrechen, [this](QObject *sender) { ButtonPanelClickAbbrechen(sender); });
    layout->addWidget(ButtonPanel);

    tmrStart = new QTimer(this);
    tmrStart->setObjectName(QStringLiteral("tmrStart"));
    tmrStart->setInterval(100);
    tmrStart->setSingleShot(false); // the handler disables it, so it runs once
    connect(tmrStart, &QTimer::timeout, this, [this] { tmrStartTimer(); });
}

void TFormQXUpdater::FormCreate()
{
    State.InstallerSucceeded = true;
    // 750 x 50 scaled proportionally comes to 614 x 40.9: rounded up to fill the strip.
    imgHeader->setPixmap(LogoLinePicture().scaled(kClientWidth, 41, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    HVTitle->SetGlyph(LogoSmallPicture());
    ButtonPanel->SetButtonsVisible({btAbbrechen});
    State.RunningAsSystemAccount = ProcessRunsAsSystemAccount();
    State.ServiceStopped = false;

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

QString TFormQXUpdater::StagingFolder()
{
    return GetOwnFolder();
}

void TFormQXUpdater::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shownOnce || !StartJobOnShow)
        return;
    m_shownOnce = true;
    FormShow();
}

void TFormQXUpdater::FormShow()
{
    try {
        const QString hostCaption = ReadUpdateJob(JobFilePath(m_arguments, StagingFolder()), State);
        if (!hostCaption.isEmpty()) {
            setWindowTitle(hostCaption);
            QGuiApplication::setApplicationDisplayName(hostCaption);
            HVTitle->SetCaption(hostCaption + QStringLiteral(" - ") +
                                TranslateText("!!Aktualisierung der Anwendung wird durchgeführt..."));
        }
        OpenRunLog();
        tmrStart->start();
    } catch (const std::exception &e) {
        // An unreadable job file ends the run: reported, exit code 1, window closed, so
        // the program never waits for a job it cannot have.
        State.ExitCode = 1;
        ReportException(e);
        CloseUpdater();
    }
}

void TFormQXUpdater::OpenRunLog()
{
    // Shared with the sink, which the window owns: the log lives as long as the window.
    std::shared_ptr<TZavLog> log = ::OpenRunLog(State);
    if (log)
        RunLogSink = [log](const QString &text, int level) { log->WriteLine(text, level, true); };
}

void TFormQXUpdater::tmrStartTimer()
{
    tmrStart->stop();
    State.ExitCode = 1;
    try {
        RunUpdate();
    } catch (const std::exception &e) {
        // Nothing may leave the handler into the event loop; a failure that the update
        // did not handle itself ends the run with exit code 1 instead of leaving an idle
        // window behind.
        State.ExitCode = 1;
        ReportException(e);
        CloseUpdater();
    }
}

void TFormQXUpdater::RunUpdate()
{
    RunUpdateSequence(State, *this, StagingFolder());
}

void TFormQXUpdater::AddProgressLine(const QString &text, int level)
{
    lbxMain->addItem(RowText(text));
    // From no selection (-1) this keeps the newest line selected and in view.
    lbxMain->setCurrentRow(lbxMain->currentRow() + 1);
    if (State.RunningAsSystemAccount && RunLogSink)
        RunLogSink(text, level);
}

void TFormQXUpdater::ReportResult(bool isError, const QString &text)
{
    AddProgressLine(text, isError ? 2 : 0);
    if (State.RunningAsSystemAccount)
        return;
    if (isError)
        ShowError(text);
    else
        ShowInformation(text);
}

void TFormQXUpdater::ReportException(const std::exception &e)
{
    AddProgressLine(TranslateText("!!Meldung:") + QLatin1Char(' ') + ExceptionMessageText(e), 2);
    if (!State.RunningAsSystemAccount)
        ShowExceptionMessage(e);
}

void TFormQXUpdater::CloseUpdater()
{
    AddProgressLine(QStringLiteral("Close"), 0);
    AddProgressLine(QString(), 0);
    // Queued: the window closes (and the message loop ends) once the running handler
    // has returned, also when this runs before the loop has started.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormQXUpdater::SetProgressMax(int max)
{
    ProgressBar->SetMax(max);
}

void TFormQXUpdater::SetProgressPosition(int position)
{
    ProgressBar->SetPosition(position);
}

void TFormQXUpdater::ButtonPanelClickAbbrechen(QObject *)
{
    if (ShowMessageDialog(TranslateText("!!Wollen Sie das Update abbrechen?"), 3, 3) == 6)
        State.CancelRequested = true;
}
