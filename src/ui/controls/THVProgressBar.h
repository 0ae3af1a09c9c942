#pragma once

#include <QWidget>

// A progress bar with its percentage as caption, drawn in two colours: the filled part
// in the highlight colour with highlighted text on it, the rest in button face.
// Setting the position repaints at once, so progress stays visible while the
// user-interface thread is busy and does not process messages.
class THVProgressBar : public QWidget
{
    Q_OBJECT
public:
    explicit THVProgressBar(QWidget *parent = nullptr);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Position() const { return m_position; }
    int Step() const { return m_step; }
    bool Smooth() const { return m_smooth; }
    bool ShowCaption() const { return m_showCaption; }
    bool UseXPThemes() const { return m_useXPThemes; }
    Qt::Orientation Orientation() const { return m_orientation; }

    void SetMin(int value);
    void SetMax(int value);
    // Clamped to [Min, Max]; repaints synchronously.
    void SetPosition(int value);
    void SetStep(int value) { m_step = value; }
    void SetSmooth(bool value);
    void SetShowCaption(bool value);
    void SetUseXPThemes(bool value);
    void SetOrientation(Qt::Orientation value);

    // Position + Step.
    void StepIt();

    // 0..100: 0 when Max - Min <= 0, else rounded share of the range, at most 100.
    int Percent() const;
    // "57 %"; empty without ShowCaption.
    QString Caption() const { return m_caption; }
    // Without themes the caption has one colour: button text below 46 percent,
    // highlighted text from 46 percent on (the fill then reaches the caption's middle).
    QColor PlainCaptionColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Changed();

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_step = 10;
    bool m_smooth = false;
    bool m_showCaption = true;
    bool m_useXPThemes = true;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QString m_caption;
};
