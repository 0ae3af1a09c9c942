#pragma once

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>

enum THVButtonType {
    btOK,
    btAbbrechen,
    btUebernehmen,
    btEnde,
    btSchliessen,
    btZurueck,
    btWeiter,
    btStarten,
    btCustom,
};
constexpr int kButtonTypeCount = btCustom + 1;

// A set of button types.
class THVButtonTypes
{
public:
    constexpr THVButtonTypes() = default;
    constexpr THVButtonTypes(std::initializer_list<THVButtonType> types)
    {
        for (THVButtonType type : types)
            m_bits |= 1u << type;
    }
    constexpr bool Contains(THVButtonType type) const { return (m_bits & (1u << type)) != 0; }
    constexpr void Include(THVButtonType type) { m_bits |= 1u << type; }
    constexpr void Exclude(THVButtonType type) { m_bits &= ~(1u << type); }
    constexpr bool operator==(const THVButtonTypes &) const = default;

private:
    unsigned m_bits = 0;
};

enum THVDialogStyle { dsDialog, dsWizard, dsInfo, dsCustom };

// A push button of the button panel; it knows its type.
class THVControlButton : public QPushButton
{
    Q_OBJECT
public:
    THVControlButton(THVButtonType type, QWidget *parent);
    THVButtonType ButtonType() const { return m_type; }
    // The button pressed by Escape in its window.
    bool IsCancel() const { return m_cancel; }
    void SetCancel(bool cancel) { m_cancel = cancel; }

private:
    THVButtonType m_type;
    bool m_cancel = false;
};

// The bottom button bar of the product's windows: a grey line on top and an inner panel
// holding the standard buttons right-aligned and custom buttons left or right of them.
class THVButtonPanel : public QWidget
{
    Q_OBJECT
public:
    using ClickHandler = std::function<void(QObject *sender)>;

    explicit THVButtonPanel(QWidget *parent = nullptr);

    THVDialogStyle DialogStyle() const { return m_style; }
    // Recreates the standard buttons of the style; custom buttons stay.
    void SetDialogStyle(THVDialogStyle style);
    THVButtonTypes ButtonsVisible() const { return m_visible; }
    void SetButtonsVisible(THVButtonTypes visible);
    bool CustomButtonsLeft() const { return m_customButtonsLeft; }
    void SetCustomButtonsLeft(bool left);

    // The click handler of a standard button type (OnClickOk, OnClickAbbrechen, ...).
    void SetOnClick(THVButtonType type, ClickHandler handler);

    THVControlButton *FindButton(THVButtonType type) const;
    // nullptr when a custom button of that name exists already.
    THVControlButton *AddCustomButton(const QString &name, const QString &caption, int width,
                                      ClickHandler handler = {});
    THVControlButton *FindCustomButton(const QString &name) const;

    QWidget *InnerPanel() const { return m_inner; }
    void ArrangeButtons();
    // Clicks the first visible, enabled cancel button; false when there is none.
    bool PressCancelButton();

    QSize sizeHint() const override { return QSize(300, 40); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateStandardButtons();
    void Click(THVButtonType type, QObject *sender);

    THVDialogStyle m_style = dsDialog;
    THVButtonTypes m_visible;
    bool m_customButtonsLeft = false;
    QWidget *m_inner = nullptr;
    QPointer<QWidget> m_watchedWindow;
    std::array<THVControlButton *, btCustom> m_standard{};
    QList<THVControlButton *> m_custom;
    std::array<ClickHandler, btCustom> m_handlers;
};
