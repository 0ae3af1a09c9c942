#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

class QLabel;

enum TTitleStyle { tsShade, tsCool, tsFlat };

// Which window edge a control is docked to; decides where the banner's edge lines go.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The title banner: a caption (and an optional smaller sub-caption) on a shaded, flat
// or bar-like background, with an optional picture at its right end.
class THVTitle : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString SubCaption READ SubCaption WRITE SetSubCaption)
public:
    explicit THVTitle(QWidget *parent = nullptr);

    TTitleStyle TitleStyle() const { return m_style; }
    void SetTitleStyle(TTitleStyle style);
    QColor FromColor() const { return m_fromColor; }
    void SetFromColor(const QColor &color);
    QColor ToColor() const { return m_toColor; }
    void SetToColor(const QColor &color);
    // true: the gradient runs along the width; false: along the height.
    bool Direction() const { return m_direction; }
    void SetDirection(bool alongWidth);
    QPixmap Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap &glyph);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    QString SubCaption() const { return m_subCaption; }
    void SetSubCaption(const QString &subCaption);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    bool RightAligned() const { return m_rightAligned; }
    void SetRightAligned(bool value);

    // Where the caption is drawn (client coordinates).
    QRect TextArea() const;
    // 1 on screens with at most 8 bits per pixel, else 256.
    int GradientSteps() const;

    QSize sizeHint() const override { return QSize(300, 50); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int Margin() const;
    void PaintShade(QPainter &painter);
    void PaintFlat(QPainter &painter);
    void PaintCool(QPainter &painter);
    void PaintTexts(QPainter &painter);
    void PlaceCoolLabel();

    TTitleStyle m_style = tsShade;
    QColor m_fromColor;
    QColor m_toColor;
    bool m_direction = true;
    QPixmap m_glyph;
    QString m_caption;
    QString m_subCaption;
    int m_borderWidth = 0;
    TAlign m_align = alNone;
    bool m_rightAligned = false;
    QLabel *m_coolLabel = nullptr;
};
