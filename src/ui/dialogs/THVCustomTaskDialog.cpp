#include "ui/dialogs/THVCustomTaskDialog.h"

#include "ui/dialogs/ModalDialogHook.h"
#include "ui/translation/InterfaceFont.h"
#include "ui/translation/TranslateComponent.h"
#include "ui/translation/Translation.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCommandLinkButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

const QColor kHotLight(0, 102, 204);
const QColor kPanelGrey(240, 240, 240);
constexpr int kDefaultButtonWidth = 75;
constexpr int kDefaultButtonHeight = 23;
constexpr int kExpandedInfoHeight = 200;
// How often the callback timer reports while the window is open.
constexpr int kTimerIntervalMs = 100;

// A push button's caption without its mnemonic markers ("&Ja" -> "Ja", "&&" -> "&").
QString WithoutMnemonic(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            plain += caption[++i];
            continue;
        }
        if (caption[i] != QLatin1Char('&'))
            plain += caption[i];
    }
    return plain;
}

// The shield picture for tdiShield, drawn at the size asked for.
QPixmap ShieldPicture(int size)
{
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    QPainterPath shield;
    shield.moveTo(s * 0.5, s * 0.04);
    shield.lineTo(s * 0.9, s * 0.18);
    shield.cubicTo(s * 0.9, s * 0.6, s * 0.75, s * 0.82, s * 0.5, s * 0.96);
    shield.cubicTo(s * 0.25, s * 0.82, s * 0.1, s * 0.6, s * 0.1, s * 0.18);
    shield.closeSubpath();
    painter.setPen(QPen(QColor(40, 60, 110), qMax(1.0, s / 24)));
    painter.setBrush(QColor(60, 110, 200));
    painter.drawPath(shield);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 200, 40));
    painter.drawRect(QRectF(s * 0.5, s * 0.12, s * 0.36, s * 0.38));
    painter.drawPath(QPainterPath(shield).intersected([&] {
        QPainterPath lower;
        lower.addRect(QRectF(s * 0.1, s * 0.5, s * 0.4, s * 0.5));
        return lower;
    }()));
    return picture;
}

// Width the markup needs on one line (it wraps only at explicit breaks, since message
// texts use non-breaking blanks).
int NaturalWidth(const QString &markup, const QFont &font)
{
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setHtml(markup);
    document.setTextWidth(-1);
    return qCeil(document.idealWidth());
}

// Measured on a copy: the label's own document is laid out lazily by its widget, at
// the widget's current width.
int DocumentHeight(QTextBrowser *label, int width)
{
    std::unique_ptr<QTextDocument> copy(label->document()->clone());
    copy->setDefaultTextOption(label->document()->defaultTextOption());
    copy->setTextWidth(width);
    return qCeil(copy->size().height());
}

// The last non-breaking blank of each run becomes an ordinary one, so lines may break
// there; the run keeps its width (ordinary blanks alone would collapse into one).
QString WrappableMarkup(const QString &markup)
{
    static const QRegularExpression lastOfRun(QStringLiteral("&#160;(?!&#160;)"));
    QString wrappable = markup;
    return wrappable.replace(lastOfRun, QStringLiteral(" "));
}

} // namespace

QString TaskDialogMarkup(const QString &text)
{
    QString markup = text;
    markup.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    markup.replace(QLatin1Char('\r'), QStringLiteral("<br>"));
    return markup;
}

THVCustomTaskDialog::THVCustomTaskDialog(THVTaskDialog &owner, QWidget *parent) : QDialog(parent), m_owner(owner)
{
    setModal(true);
    setSizeGripEnabled(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    setAutoFillBackground(true);
    QFont dialogFont(InterfaceFontName());
    dialogFont.setPointSize(9);
    setFont(dialogFont);
}

template <typename F>
void THVCustomTaskDialog::Guarded(F &&handler)
{
    try {
        handler();
    } catch (...) {
        m_failed = true;
        m_owner.m_modalResult = 0;
        done(0);
    }
}

int THVCustomTaskDialog::Scaled(int pixels) const
{
    return qRound(pixels * logicalDpiX() / 96.0);
}

QRect THVCustomTaskDialog::AvailableScreen() const
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
}

QPixmap THVCustomTaskDialog::IconPicture(TLMDTaskDlgIcon icon, int size)
{
    QStyle::StandardPixmap standard;
    switch (icon) {
    case tdiWarning:
        standard = QStyle::SP_MessageBoxWarning;
        break;
    case tdiQuestion:
        standard = QStyle::SP_MessageBoxQuestion;
        break;
    case tdiError:
        standard = QStyle::SP_MessageBoxCritical;
        break;
    case tdiInformation:
        standard = QStyle::SP_MessageBoxInformation;
        break;
    case tdiShield:
        return ShieldPicture(size);
    default:
        return QPixmap();
    }
    return QApplication::style()->standardIcon(standard).pixmap(size, size);
}

void THVCustomTaskDialog::ClearParts()
{
    const QList<QWidget *> parts = findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(parts);
    delete m_timer;
    m_timer = nullptr;
    m_mainIcon = nullptr;
    m_mainInstruction = m_content = m_footer = nullptr;
    m_expandedInfo = nullptr;
    m_progress = nullptr;
    m_radios.clear();
    m_commandLinks.clear();
    m_buttonPanel = m_footerPanel = nullptr;
    m_expandButton = nullptr;
    m_verification = nullptr;
    m_pushButtons.clear();
    m_footerIcon = nullptr;
}

QTextBrowser *THVCustomTaskDialog::NewHtmlLabel(const QFont &font)
{
    auto *label = new QTextBrowser(this);
    label->setFrameShape(QFrame::NoFrame);
    label->setFocusPolicy(Qt::NoFocus);
    label->setOpenLinks(false);
    label->setOpenExternalLinks(false);
    label->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    label->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    label->setLineWrapMode(QTextEdit::WidgetWidth);
    // Wrap at word boundaries, or anywhere when a word is wider than the line.
    label->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    label->document()->setDocumentMargin(0);
    label->document()->setDefaultFont(font);
    label->setFont(font);
    label->viewport()->setAutoFillBackground(false);
    label->setStyleSheet(QStringLiteral("QTextBrowser { background: transparent; }"));
    connect(label, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        if (m_owner.Flags.Contains(tdfEnableHyperlinks) && m_owner.OnHyperlink)
            Guarded([&] { m_owner.OnHyperlink(url.toString()); });
    });
    return label;
}

void THVCustomTaskDialog::Build()
{
    ClearParts();
    const THVTaskDialogConfig &config = m_owner;

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (config.Flags.Contains(tdfAllowDialogCancellation))
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (config.Flags.Contains(tdfCanBeMinimized))
        flags |= Qt::WindowMinimizeButtonHint;
    // Changing the flags hides a shown window (navigation rebuilds an open dialog): it
    // is shown again, or its modal loop would wait for a window nobody can see.
    const bool wasVisible = isVisible();
    if (windowFlags() != flags)
        setWindowFlags(flags);
    if (wasVisible && !isVisible())
        show();
    setWindowTitle(config.Title);
    setLayoutDirection(config.Flags.Contains(tdfRtlLayout) ? Qt::RightToLeft : Qt::LeftToRight);

    m_mainIcon = new QLabel(this);
    UpdateMainIcon(config.MainIcon);

    QFont instructionFont(font());
    instructionFont.setPointSize(11);
    m_mainInstruction = NewHtmlLabel(instructionFont);
    QPalette instructionPalette = m_mainInstruction->palette();
    instructionPalette.setColor(QPalette::Text, kHotLight);
    m_mainInstruction->setPalette(instructionPalette);
    m_mainInstruction->setObjectName(QStringLiteral("MainInstruction"));
    m_mainInstruction->setHtml(TaskDialogMarkup(config.MainInstruction));

    m_content = NewHtmlLabel(font());
    m_content->setObjectName(QStringLiteral("Content"));
    m_content->setHtml(TaskDialogMarkup(config.Content));

    m_expandedInfo = new QPlainTextEdit(this);
    m_expandedInfo->setReadOnly(true);
    m_expandedInfo->setPlainText(config.ExpandedInformation);
    m_expanded = config.Flags.Contains(tdfExpandedByDefault);

    if (config.Flags.Contains(tdfShowProgressBar) || config.Flags.Contains(tdfShowMarqueeProgressBar)) {
        m_progress = new QProgressBar(this);
        m_progress->setTextVisible(false);
        if (config.Flags.Contains(tdfShowMarqueeProgressBar) || config.ProgressBar.Marquee)
            m_progress->setRange(0, 0);
        else
            m_progress->setRange(config.ProgressBar.Min, qMax(config.ProgressBar.Min, config.ProgressBar.Max));
        m_progress->setValue(config.ProgressBar.Position);
    }

    int defaultRadio = config.DefaultRadioButton;
    for (int i = 0; i < config.RadioButtons.size(); ++i) {
        const THVTaskDlgRadioButton &radio = config.RadioButtons[i];
        if (defaultRadio == 0 && radio.IsDefault)
            defaultRadio = radio.ButtonId;
        auto *control = new QRadioButton(radio.Caption, this);
        control->setEnabled(radio.Enabled);
        connect(control, &QRadioButton::clicked, this, [this, i] { Guarded([&] { RadioClicked(i); }); });
        m_radios.append(control);
    }
    m_owner.m_radioResult = 0;
    for (int i = 0; i < m_radios.size(); ++i) {
        if (defaultRadio != 0 && config.RadioButtons[i].ButtonId == defaultRadio) {
            m_radios[i]->setChecked(true);
            m_owner.m_radioResult = defaultRadio;
            break;
        }
    }
    if (!m_radios.isEmpty() && m_owner.m_radioResult == 0 && !config.Flags.Contains(tdfNoDefaultRadioButton)) {
        m_radios.first()->setChecked(true);
        m_owner.m_radioResult = config.RadioButtons.first().ButtonId;
    }

    m_buttonPanel = new QWidget(this);
    m_buttonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    m_buttonPanel->setAutoFillBackground(true);
    QPalette panelPalette = m_buttonPanel->palette();
    panelPalette.setColor(QPalette::Window, kPanelGrey);
    m_buttonPanel->setPalette(panelPalette);
    auto *topBorder = new QFrame(m_buttonPanel);
    topBorder->setObjectName(QStringLiteral("TopBorder"));
    topBorder->setFrameShape(QFrame::HLine);
    topBorder->setFrameShadow(QFrame::Plain);
    topBorder->setStyleSheet(QStringLiteral("color: rgb(223, 223, 223);"));

    m_expandButton = new QPushButton(m_buttonPanel);
    m_expandButton->setAutoDefault(false);
    m_expandButton->setVisible(!config.ExpandedInformation.isEmpty());
    connect(m_expandButton, &QPushButton::clicked, this, [this] { Guarded([&] { ToggleExpanded(); }); });

    m_verification = new QCheckBox(config.VerificationText, m_buttonPanel);
    m_verification->setVisible(!config.VerificationText.isEmpty());
    m_verification->setChecked(config.Flags.Contains(tdfVerificationFlagChecked));
    m_owner.m_verificationChecked = m_verification->isChecked();
    connect(m_verification, &QCheckBox::toggled, this, [this](bool checked) {
        m_owner.m_verificationChecked = checked;
        if (m_owner.OnVerificationClicked)
            Guarded([&] { m_owner.OnVerificationClicked(checked); });
    });

    AddCommonButtons();
    AddCustomButtons();

    m_footerPanel = new QWidget(this);
    m_footerPanel->setAutoFillBackground(true);
    m_footerPanel->setPalette(panelPalette);
    m_footerIcon = new QLabel(m_footerPanel);
    m_footer = NewHtmlLabel(font());
    m_footer->setParent(m_footerPanel);
    m_footer->setObjectName(QStringLiteral("Footer"));
    m_footer->setHtml(TaskDialogMarkup(config.FooterText));
    UpdateFooterIcon(config.FooterIcon);

    if (config.Flags.Contains(tdfCallbackTimer)) {
        m_timer = new QTimer(this);
        m_timer->setInterval(kTimerIntervalMs);
        connect(m_timer, &QTimer::timeout, this, [this] { Guarded([&] { TimerTick(); }); });
    }

    // Button captions carry translation markers; the dialog translates itself in the
    // language current now.
    TranslateComponent(this);
    Relayout();
    if (m_timer) {
        m_ticks.start();
        m_timer->start();
    }
}

void THVCustomTaskDialog::AddCommonButtons()
{
    struct Common {
        TLMDTaskDialogCommonButton Button;
        const char *Caption;
        int Id;
    };
    // Placed from the right edge: Close first, OK last, so they read OK .. Close.
    static const Common kCommon[] = {
        {tdcbClose, "!!Schließen", 3},   {tdcbRetry, "!!&Wiederholen", IDRETRY}, {tdcbCancel, "!!Abbrechen", IDCANCEL},
        {tdcbNo, "&Nein", IDNO},          {tdcbYes, "&Ja", IDYES},                {tdcbOk, "OK", IDOK},
    };
    for (const Common &common : kCommon) {
        if (!m_owner.CommonButtons.Contains(common.Button))
            continue;
        auto *button = new QPushButton(TranslateText(common.Caption), m_buttonPanel);
        button->setAutoDefault(false);
        button->setProperty("ButtonId", common.Id);
        const int id = common.Id;
        connect(button, &QPushButton::clicked, this,
                [this, id, button] { Guarded([&] { ButtonClicked(id, true, -1, button); }); });
        m_pushButtons.append({button, id, true, -1});
    }
}

void THVCustomTaskDialog::AddCustomButtons()
{
    const bool commandLinks =
        m_owner.Flags.Contains(tdfUseCommandLinks) || m_owner.Flags.Contains(tdfUseCommandLinksNoIcon);
    int defaultId = m_owner.DefaultButton;
    for (const THVTaskDlgButton &custom : m_owner.Buttons) {
        if (defaultId == 0 && custom.IsDefault)
            defaultId = custom.ButtonId;
    }
    for (int i = m_owner.Buttons.size() - 1; i >= 0 && !commandLinks; --i) {
        const THVTaskDlgButton &custom = m_owner.Buttons[i];
        auto *button = new QPushButton(custom.Caption, m_buttonPanel);
        button->setAutoDefault(false);
        button->setEnabled(custom.Enabled);
        button->setProperty("ButtonId", custom.ButtonId);
        if (custom.IsElevationButton)
            button->setIcon(QIcon(IconPicture(tdiShield, 16)));
        const int id = custom.ButtonId;
        connect(button, &QPushButton::clicked, this,
                [this, id, i, button] { Guarded([&] { ButtonClicked(id, false, i, button); }); });
        m_pushButtons.append({button, id, false, i});
    }
    for (int i = 0; i < m_owner.Buttons.size() && commandLinks; ++i) {
        const THVTaskDlgButton &custom = m_owner.Buttons[i];
        // A command link's caption may hold a second line: the note below it.
        const QString caption = custom.Caption.section(QLatin1Char('\n'), 0, 0);
        const QString note = custom.Caption.section(QLatin1Char('\n'), 1);
        auto *link = new QCommandLinkButton(caption, note, this);
        link->setAutoDefault(false);
        link->setEnabled(custom.Enabled);
        link->setProperty("ButtonId", custom.ButtonId);
        if (m_owner.Flags.Contains(tdfUseCommandLinksNoIcon))
            link->setIcon(QIcon());
        else if (custom.IsElevationButton)
            link->setIcon(QIcon(IconPicture(tdiShield, 20)));
        const int id = custom.ButtonId;
        connect(link, &QPushButton::clicked, this,
                [this, id, i, link] { Guarded([&] { ButtonClicked(id, false, i, link); }); });
        m_commandLinks.append(link);
        if (id == defaultId && defaultId != 0)
            link->setDefault(true);
    }
    for (const PushButtonInfo &info : m_pushButtons) {
        const bool isDefault = defaultId != 0 && info.Id == defaultId;
        info.Button->setDefault(isDefault);
    }
}

QList<QPushButton *> THVCustomTaskDialog::PushButtons() const
{
    QList<QPushButton *> leftToRight;
    for (auto it = m_pushButtons.crbegin(); it != m_pushButtons.crend(); ++it)
        leftToRight.append(it->Button);
    return leftToRight;
}

QPushButton *THVCustomTaskDialog::FindButton(int buttonId) const
{
    for (const PushButtonInfo &info : m_pushButtons) {
        if (info.Id == buttonId)
            return info.Button;
    }
    for (QCommandLinkButton *link : m_commandLinks) {
        if (link->property("ButtonId").toInt() == buttonId)
            return link;
    }
    return nullptr;
}

void THVCustomTaskDialog::Relayout()
{
    if (!m_buttonPanel)
        return;
    const THVTaskDialogConfig &config = m_owner;
    const int margin = Scaled(10);
    const int gap = Scaled(13);
    const int buttonGap = Scaled(5);
    const QRect screenArea = AvailableScreen();
    const bool highDpi = logicalDpiX() > 120;
    const int iconSize = highDpi ? Scaled(32) : 32;
    const int footerIconSize = highDpi ? Scaled(16) : 16;
    const bool hasMainIcon = m_mainIcon->pixmap().isNull() == false;
    const int textLeft = hasMainIcon ? Scaled(10) + iconSize + margin : margin;
    const bool footerArea = config.Flags.Contains(tdfExpandFooterArea);

    // Push buttons: default size, widened to fit their captions, never wider than half
    // the screen (a longer caption is cut with an ellipsis and shown in full as tip).
    const int buttonHeight = Scaled(kDefaultButtonHeight);
    int buttonsWidth = 0;
    for (const PushButtonInfo &info : m_pushButtons) {
        const QFontMetrics metrics(info.Button->font());
        const QString caption = info.Button->text();
        int width = qMax(Scaled(kDefaultButtonWidth), metrics.horizontalAdvance(WithoutMnemonic(caption)) + Scaled(20));
        const int widest = screenArea.width() / 2;
        if (width > widest) {
            info.Button->setToolTip(WithoutMnemonic(caption));
            info.Button->setText(metrics.elidedText(caption, Qt::ElideRight, widest - Scaled(20)));
            width = widest;
        }
        info.Button->resize(width, buttonHeight);
        buttonsWidth += width + buttonGap;
    }
    m_expandButton->setText(m_expanded ? config.ExpandedControlText : config.CollapsedControlText);
    if (m_expandButton->text().isEmpty())
        m_expandButton->setText(m_expanded ? TranslateText("!!Details ausblenden") : TranslateText("!!Details einblenden"));
    m_expandButton->resize(qMax(Scaled(kDefaultButtonWidth), m_expandButton->sizeHint().width()), buttonHeight);
    const int leftPartsWidth =
        qMax(m_expandButton->isVisibleTo(this) ? m_expandButton->width() : 0,
             m_verification->isVisibleTo(this) ? qMin(m_verification->sizeHint().width(), screenArea.width() / 2) : 0);

    int clientWidth = config.Width > 0 ? config.Width : Scaled(444);
    const int neededForButtons = margin + leftPartsWidth + (leftPartsWidth ? margin : 0) + buttonsWidth;
    if (neededForButtons > clientWidth)
        clientWidth += neededForButtons - clientWidth + margin;

    // The main instruction is measured on a window as wide as the screen less 100.
    const int widestText = qMax(Scaled(100), screenArea.width() - 100 - textLeft - margin);
    const int naturalWidth = NaturalWidth(TaskDialogMarkup(config.MainInstruction), m_mainInstruction->font());
    // Too wide even for that: the text wraps at its blanks after all (message texts
    // turn blanks into non-breaking ones), rather than inside words.
    m_mainInstruction->setHtml(naturalWidth > widestText ? WrappableMarkup(TaskDialogMarkup(config.MainInstruction))
                                                         : TaskDialogMarkup(config.MainInstruction));
    const int instructionWidth = qMin(naturalWidth, widestText);
    clientWidth = qMax(clientWidth, textLeft + instructionWidth + margin);
    clientWidth = qMin(clientWidth, screenArea.width());
    const int textWidth = qMax(Scaled(50), clientWidth - textLeft - margin);

    // Heights of the parts other than the two big texts, so these can be limited to
    // what still fits on the screen (they scroll beyond that).
    const bool showExpandedInContent = m_expanded && !footerArea && !config.ExpandedInformation.isEmpty();
    const bool showExpandedInFooter = m_expanded && footerArea && !config.ExpandedInformation.isEmpty();
    const int leftColumnHeight = (m_expandButton->isVisibleTo(this) ? buttonHeight : 0) +
                                 (m_expandButton->isVisibleTo(this) && m_verification->isVisibleTo(this) ? buttonGap : 0) +
                                 (m_verification->isVisibleTo(this) ? m_verification->sizeHint().height() : 0);
    const int panelHeight = qMax(Scaled(10) + buttonHeight + Scaled(20), Scaled(10) + leftColumnHeight + Scaled(10));
    const bool hasFooter = !config.FooterText.isEmpty();
    const int footerTextLeft = margin + (m_footerIcon->pixmap().isNull() ? 0 : footerIconSize + buttonGap);
    const int footerTextWidth = qMax(Scaled(50), clientWidth - footerTextLeft - margin);
    int footerTextHeight = hasFooter ? DocumentHeight(m_footer, footerTextWidth) : 0;
    footerTextHeight = qMin(footerTextHeight, screenArea.height() / 4);

    int others = panelHeight + gap + Scaled(10);
    if (hasFooter)
        others += qMax(footerTextHeight, footerIconSize) + 2 * margin;
    if (showExpandedInFooter)
        others += kExpandedInfoHeight + 2 * margin;
    if (showExpandedInContent)
        others += gap + kExpandedInfoHeight;
    if (m_progress)
        others += gap + Scaled(16);
    for (QRadioButton *radio : m_radios)
        others += buttonGap + radio->sizeHint().height();
    if (!m_commandLinks.isEmpty())
        others += Scaled(20);
    for (QCommandLinkButton *link : m_commandLinks)
        others += buttonGap + link->heightForWidth(textWidth);

    const bool hasInstruction = !config.MainInstruction.isEmpty();
    const bool hasContent = !config.Content.isEmpty();
    int instructionHeight = hasInstruction ? DocumentHeight(m_mainInstruction, textWidth) : 0;
    int contentHeight = hasContent ? DocumentHeight(m_content, textWidth) : 0;
    const int textBudget = qMax(Scaled(80), screenArea.height() - 60 - others - (hasContent ? gap : 0));
    if (instructionHeight + contentHeight > textBudget) {
        const int contentShare = hasContent ? qMin(contentHeight, textBudget / 2) : 0;
        instructionHeight = qMin(instructionHeight, textBudget - contentShare);
        contentHeight = qMin(contentHeight, textBudget - instructionHeight);
    }

    int y = Scaled(10);
    m_mainIcon->setGeometry(Scaled(10), y, iconSize, iconSize);
    m_mainIcon->setVisible(hasMainIcon);
    int bottom = hasMainIcon ? y + iconSize : y;
    m_mainInstruction->setVisible(hasInstruction);
    if (hasInstruction) {
        m_mainInstruction->setGeometry(textLeft, y, textWidth, instructionHeight);
        // With a single short line, centre it on the icon.
        if (hasMainIcon && instructionHeight < iconSize)
            m_mainInstruction->move(textLeft, y + (iconSize - instructionHeight) / 2);
        bottom = qMax(bottom, m_mainInstruction->geometry().bottom() + 1);
    }
    y = bottom;
    m_content->setVisible(hasContent);
    if (hasContent) {
        y += hasInstruction ? gap : 0;
        m_content->setGeometry(textLeft, y, textWidth, contentHeight);
        y += contentHeight;
    }
    m_expandedInfo->setVisible(showExpandedInContent || showExpandedInFooter);
    if (showExpandedInContent) {
        y += gap;
        m_expandedInfo->setParent(this);
        m_expandedInfo->setGeometry(textLeft, y, textWidth, kExpandedInfoHeight);
        m_expandedInfo->show();
        y += kExpandedInfoHeight;
    }
    if (m_progress) {
        y += gap;
        m_progress->setGeometry(textLeft, y, textWidth, Scaled(16));
        y += Scaled(16);
    }
    for (int i = 0; i < m_radios.size(); ++i) {
        y += i == 0 ? gap : buttonGap;
        const int height = m_radios[i]->sizeHint().height();
        m_radios[i]->setGeometry(textLeft + Scaled(8), y, textWidth - Scaled(8), height);
        y += height;
    }
    for (int i = 0; i < m_commandLinks.size(); ++i) {
        y += i == 0 ? Scaled(20) : buttonGap;
        const int height = m_commandLinks[i]->heightForWidth(textWidth);
        m_commandLinks[i]->setGeometry(textLeft, y, textWidth, height);
        y += height;
    }

    y += gap;
    m_buttonPanel->setGeometry(0, y, clientWidth, panelHeight);
    if (auto *topBorder = m_buttonPanel->findChild<QFrame *>(QStringLiteral("TopBorder")))
        topBorder->setGeometry(0, 0, clientWidth, 1);
    const int buttonTop = (panelHeight - buttonHeight) / 2;
    int x = clientWidth - buttonGap;
    for (const PushButtonInfo &info : m_pushButtons) {
        info.Button->move(x - info.Button->width(), buttonTop);
        x = info.Button->x() - buttonGap;
    }
    int leftTop = (panelHeight - leftColumnHeight) / 2;
    if (m_expandButton->isVisibleTo(this)) {
        m_expandButton->move(margin, leftTop);
        leftTop += buttonHeight + buttonGap;
    }
    if (m_verification->isVisibleTo(this))
        m_verification->setGeometry(margin, leftTop, qMax(0, qMin(m_verification->sizeHint().width(), x - margin)),
                                    m_verification->sizeHint().height());
    y += panelHeight;

    m_footerPanel->setVisible(hasFooter || showExpandedInFooter);
    if (hasFooter || showExpandedInFooter) {
        int footerY = 0;
        if (hasFooter) {
            auto *line = m_footerPanel->findChild<QFrame *>(QStringLiteral("FooterLine"));
            if (!line) {
                line = new QFrame(m_footerPanel);
                line->setObjectName(QStringLiteral("FooterLine"));
                line->setFrameShape(QFrame::HLine);
                line->setFrameShadow(QFrame::Plain);
                line->setStyleSheet(QStringLiteral("color: rgb(223, 223, 223);"));
            }
            line->setGeometry(margin, 0, clientWidth - 2 * margin, 1);
            line->show();
            footerY = margin;
            m_footerIcon->setGeometry(margin, footerY, footerIconSize, footerIconSize);
            m_footer->setGeometry(footerTextLeft, footerY, footerTextWidth, footerTextHeight);
            footerY += qMax(footerTextHeight, footerIconSize) + margin;
        }
        m_footer->setVisible(hasFooter);
        m_footerIcon->setVisible(hasFooter && !m_footerIcon->pixmap().isNull());
        if (showExpandedInFooter) {
            m_expandedInfo->setParent(m_footerPanel);
            m_expandedInfo->setGeometry(margin, footerY + (hasFooter ? 0 : margin), clientWidth - 2 * margin,
                                        kExpandedInfoHeight);
            m_expandedInfo->show();
            footerY = m_expandedInfo->geometry().bottom() + 1 + margin;
        }
        m_footerPanel->setGeometry(0, y, clientWidth, footerY);
        y += footerY;
    }

    setFixedSize(clientWidth, y);
    const QWidget *anchor = parentWidget();
    if (config.Flags.Contains(tdfPositionRelativeToWindow) && anchor && anchor->isVisible()) {
        const QRect area = anchor->frameGeometry();
        move(area.center() - QPoint(clientWidth / 2, y / 2));
    } else {
        move(screenArea.center() - QPoint(clientWidth / 2, y / 2));
    }
}

void THVCustomTaskDialog::UpdateMainIcon(TLMDTaskDlgIcon icon)
{
    if (!m_mainIcon)
        return;
    const int size = logicalDpiX() > 120 ? Scaled(32) : 32;
    QPixmap picture;
    if (m_owner.Flags.Contains(tdfUseHiconMain) && !m_owner.CustomMainIcon.isNull())
        picture = m_owner.CustomMainIcon.pixmap(size, size);
    else
        picture = IconPicture(icon, size);
    m_mainIcon->setPixmap(picture);
    m_mainIcon->setProperty("TaskDialogIcon", int(icon));
}

void THVCustomTaskDialog::UpdateFooterIcon(TLMDTaskDlgIcon icon)
{
    if (!m_footerIcon)
        return;
    const int size = logicalDpiX() > 120 ? Scaled(16) : 16;
    QPixmap picture;
    if (m_owner.Flags.Contains(tdfUseHiconFooter) && !m_owner.CustomFooterIcon.isNull())
        picture = m_owner.CustomFooterIcon.pixmap(size, size);
    else
        picture = IconPicture(icon, size);
    m_footerIcon->setPixmap(picture);
}

void THVCustomTaskDialog::SetMainInstruction(const QString &text)
{
    m_owner.MainInstruction = text;
    m_mainInstruction->setHtml(TaskDialogMarkup(text));
    Relayout();
}

void THVCustomTaskDialog::SetContent(const QString &text)
{
    m_owner.Content = text;
    m_content->setHtml(TaskDialogMarkup(text));
    Relayout();
}

void THVCustomTaskDialog::SetFooterText(const QString &text)
{
    m_owner.FooterText = text;
    m_footer->setHtml(TaskDialogMarkup(text));
    Relayout();
}

void THVCustomTaskDialog::SetExpandedInformation(const QString &text)
{
    m_owner.ExpandedInformation = text;
    m_expandedInfo->setPlainText(text);
    m_expandButton->setVisible(!text.isEmpty());
    Relayout();
}

void THVCustomTaskDialog::ToggleExpanded()
{
    m_expanded = !m_expanded;
    Relayout();
    if (m_owner.OnExpandoButtonClicked)
        m_owner.OnExpandoButtonClicked(m_expanded);
}

void THVCustomTaskDialog::RadioClicked(int index)
{
    if (index < 0 || index >= m_owner.RadioButtons.size())
        return;
    m_owner.m_radioResult = m_owner.RadioButtons[index].ButtonId;
    if (m_owner.RadioButtons[index].OnClick)
        m_owner.RadioButtons[index].OnClick(m_radios.value(index));
}

void THVCustomTaskDialog::ButtonClicked(int id, bool common, int customIndex, QObject *sender)
{
    bool noCloseDialog = false;
    if (common) {
        if (m_owner.OnCommonButtonClick)
            m_owner.OnCommonButtonClick(id, noCloseDialog);
    } else if (customIndex >= 0 && customIndex < m_owner.Buttons.size() && m_owner.Buttons[customIndex].OnClick) {
        m_owner.Buttons[customIndex].OnClick(sender, noCloseDialog);
    }
    if (noCloseDialog)
        return;
    m_owner.m_modalResult = id;
    done(id);
}

void THVCustomTaskDialog::ClickButton(int buttonId)
{
    if (QPushButton *button = FindButton(buttonId))
        button->click();
}

void THVCustomTaskDialog::TimerTick()
{
    if (!m_owner.OnTimer)
        return;
    if (m_owner.OnTimer(int(qMin<qint64>(m_ticks.elapsed(), INT_MAX))))
        m_ticks.restart();
}

void THVCustomTaskDialog::reject()
{
    // Escape: the first custom button with identifier 2, else 3, else 7; else a single
    // custom button with identifier 1. Without custom buttons a common Cancel button.
    const QList<THVTaskDlgButton> &custom = m_owner.Buttons;
    if (!custom.isEmpty()) {
        for (int wanted : {IDCANCEL, IDABORT, IDNO}) {
            for (const THVTaskDlgButton &button : custom) {
                if (button.ButtonId == wanted) {
                    ClickButton(wanted);
                    return;
                }
            }
        }
        if (custom.size() == 1 && custom.first().ButtonId == IDOK) {
            ClickButton(IDOK);
            return;
        }
    }
    if (m_owner.CommonButtons.Contains(tdcbCancel)) {
        ClickButton(IDCANCEL);
        return;
    }
    if (m_owner.Flags.Contains(tdfAllowDialogCancellation)) {
        m_owner.m_modalResult = IDCANCEL;
        done(IDCANCEL);
    }
    // Otherwise the dialog stays open: only its buttons answer it.
}

QString THVCustomTaskDialog::ClipboardText() const
{
    const QString crlf = QStringLiteral("\r\n");
    QString instruction = m_mainInstruction ? m_mainInstruction->document()->toPlainText() : QString();
    instruction.replace(QLatin1Char('\n'), crlf);
    QString text = QStringLiteral("[Window Title]") + crlf + windowTitle() + crlf + crlf + QStringLiteral("[Content]") +
                   crlf + instruction + crlf + crlf;
    // Custom push buttons in collection order, then the common buttons as they read.
    const QList<QPushButton *> leftToRight = PushButtons();
    for (bool common : {false, true}) {
        for (QPushButton *button : leftToRight) {
            const bool isCommon = std::any_of(m_pushButtons.cbegin(), m_pushButtons.cend(), [&](const PushButtonInfo &i) {
                return i.Button == button && i.Common;
            });
            if (isCommon == common)
                text += QLatin1Char('[') + WithoutMnemonic(button->toolTip().isEmpty() ? button->text() : button->toolTip()) +
                        QStringLiteral("] ");
        }
    }
    return text;
}

void THVCustomTaskDialog::keyPressEvent(QKeyEvent *event)
{
    const bool copy = event->matches(QKeySequence::Copy) ||
                      (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier);
    if (copy) {
        QGuiApplication::clipboard()->setText(ClipboardText());
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F1 && m_owner.OnHelp) {
        Guarded([&] { m_owner.OnHelp(); });
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void THVCustomTaskDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_hookCalled)
        return;
    m_hookCalled = true;
    if (m_owner.OnCreated)
        QTimer::singleShot(0, this, [this] {
            if (m_owner.OnCreated)
                Guarded([&] { m_owner.OnCreated(); });
        });
    if (CurrentModalDialogHook())
        QTimer::singleShot(0, this, [this] {
            if (const ModalDialogHook &hook = CurrentModalDialogHook())
                hook(*this);
        });
}
