#include "ui/controls/THVButtonPanel.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

namespace {

struct ButtonKind {
    const char *Caption;
    int Width;
    bool IsDefault;
    bool IsCancel;
};

// Captions carry the translation marker; the window's translation replaces them.
const ButtonKind kButtonKinds[btCustom] = {
    {"!!Ok", 75, true, false},          // btOK
    {"!!Abbruch", 75, false, true},     // btAbbrechen
    {"!!Übernehmen", 81, false, false}, // btUebernehmen
    {"!!Abbruch", 75, false, true},     // btEnde
    {"!!Schließen", 75, false, true},   // btSchliessen
    {"!!< Zurück", 75, false, false},   // btZurueck
    {"!!Weiter >", 75, true, false},    // btWeiter
    {"!!Starten", 89, false, false},    // btStarten
};

bool StyleProvides(THVDialogStyle style, THVButtonType type)
{
    switch (style) {
    case dsDialog:
        return type == btOK || type == btAbbrechen || type == btUebernehmen;
    case dsWizard:
        return type >= btUebernehmen && type <= btStarten;
    case dsInfo:
        return type == btOK;
    case dsCustom:
        return true;
    }
    return false;
}

constexpr int kButtonTop = 7;
constexpr int kButtonHeight = 25;
constexpr int kEdgeGap = 8;
constexpr int kButtonGap = 4;

} // namespace

THVControlButton::THVControlButton(THVButtonType type, QWidget *parent) : QPushButton(parent), m_type(type)
{
    setAutoDefault(false);
}

THVButtonPanel::THVButtonPanel(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(40);
    m_inner = new QWidget(this);
    m_inner->setObjectName(QStringLiteral("InnerPanel"));
    m_inner->installEventFilter(this);
    CreateStandardButtons();
}

bool THVButtonPanel::PressCancelButton()
{
    for (THVControlButton *button : m_standard) {
        if (button && button->IsCancel() && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

void THVButtonPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Escape anywhere in the window (a key no other control used) presses the
    // window's cancel button: the panel watches its window for it.
    if (m_watchedWindow != window()) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = window();
        if (m_watchedWindow != this)
            m_watchedWindow->installEventFilter(this);
    }
}

void THVButtonPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && PressCancelButton()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THVButtonPanel::SetDialogStyle(THVDialogStyle style)
{
    m_style = style;
    CreateStandardButtons();
}

void THVButtonPanel::CreateStandardButtons()
{
    for (THVControlButton *&button : m_standard) {
        if (button) {
            m_visible.Exclude(button->ButtonType());
            delete button;
            button = nullptr;
        }
    }
    for (int t = 0; t < btCustom; ++t) {
        const auto type = static_cast<THVButtonType>(t);
        if (!StyleProvides(m_style, type))
            continue;
        const ButtonKind &kind = kButtonKinds[t];
        auto *button = new THVControlButton(type, m_inner);
        button->setObjectName(QStringLiteral("bt%1").arg(t));
        button->setText(QString::fromUtf8(kind.Caption));
        button->resize(kind.Width, kButtonHeight);
        button->setDefault(kind.IsDefault);
        button->SetCancel(kind.IsCancel);
        connect(button, &QPushButton::clicked, this, [this, type, button] { Click(type, button); });
        m_standard[t] = button;
        m_visible.Include(type);
    }
    // Standard names as the window code refers to them.
    if (m_standard[btOK])
        m_standard[btOK]->setObjectName(QStringLiteral("btOK"));
    if (m_standard[btAbbrechen])
        m_standard[btAbbrechen]->setObjectName(QStringLiteral("btAbbrechen"));
    SetButtonsVisible(m_visible);
}

void THVButtonPanel::SetButtonsVisible(THVButtonTypes visible)
{
    m_visible = visible;
    for (THVControlButton *button : m_standard) {
        if (button)
            button->setVisible(visible.Contains(button->ButtonType()));
    }
    for (THVControlButton *button : m_custom)
        button->setVisible(visible.Contains(btCustom));
    ArrangeButtons();
}

void THVButtonPanel::SetCustomButtonsLeft(bool left)
{
    m_customButtonsLeft = left;
    ArrangeButtons();
}

void THVButtonPanel::SetOnClick(THVButtonType type, ClickHandler handler)
{
    if (type < 0 || type >= btCustom)
        return;
    m_handlers[type] = std::move(handler);
}

void THVButtonPanel::Click(THVButtonType type, QObject *sender)
{
    if (m_handlers[type])
        m_handlers[type](sender);
}

THVControlButton *THVButtonPanel::FindButton(THVButtonType type) const
{
    if (type < 0 || type >= btCustom)
        return m_custom.isEmpty() ? nullptr : m_custom.first();
    return m_standard[type];
}

THVControlButton *THVButtonPanel::AddCustomButton(const QString &name, const QString &caption, int width,
                                                  ClickHandler handler)
{
    if (FindCustomButton(name))
        return nullptr;
    const double scale = logicalDpiX() / 96.0;
    auto *button = new THVControlButton(btCustom, m_inner);
    button->setObjectName(name);
    button->setText(caption);
    button->resize(qRound(width * scale), qRound(kButtonHeight * scale));
    if (handler)
        connect(button, &QPushButton::clicked, this, [handler, button] { handler(button); });
    m_custom.append(button);
    m_visible.Include(btCustom);
    button->setVisible(true);
    ArrangeButtons();
    return button;
}

THVControlButton *THVButtonPanel::FindCustomButton(const QString &name) const
{
    for (THVControlButton *button : m_custom) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

void THVButtonPanel::ArrangeButtons()
{
    // Standard buttons from the right edge leftwards, btStarten first, so that from left
    // to right they read in type order.
    int x = m_inner->width() - kEdgeGap;
    for (int t = btStarten; t >= btOK; --t) {
        THVControlButton *button = m_standard[t];
        if (!button || !m_visible.Contains(button->ButtonType()) || button->isHidden())
            continue;
        button->move(x - button->width(), kButtonTop);
        x = button->x() - kButtonGap;
    }
    if (m_customButtonsLeft) {
        int left = kEdgeGap;
        for (THVControlButton *button : m_custom) {
            if (button->isHidden())
                continue;
            button->move(left, kButtonTop);
            left += button->width() + kButtonGap;
        }
    } else {
        for (auto it = m_custom.crbegin(); it != m_custom.crend(); ++it) {
            THVControlButton *button = *it;
            if (button->isHidden())
                continue;
            button->move(x - button->width(), kButtonTop);
            x = button->x() - kButtonGap;
        }
    }
}

void THVButtonPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_inner->setGeometry(0, 1, width(), height() - 1);
}

bool THVButtonPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_inner && event->type() == QEvent::Resize)
        ArrangeButtons();
    if (watched == m_watchedWindow && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && PressCancelButton())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void THVButtonPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(QColor(159, 159, 159));
    painter.drawLine(0, 0, width(), 0);
}
