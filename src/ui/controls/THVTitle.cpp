#include "ui/controls/THVTitle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>
#include <cmath>

namespace {

// Captions come from job files and messages: draw them as plain text with control
// characters (except tab) made visible as blanks, so nothing is interpreted.
QString DisplayText(const QString &text)
{
    QString shown = text;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return shown;
}

} // namespace

THVTitle::THVTitle(QWidget *parent) : QWidget(parent)
{
    const QPalette pal = palette();
    m_fromColor = pal.color(QPalette::Dark);  // button shadow
    m_toColor = pal.color(QPalette::Button);  // button face
    QFont titleFont = font();
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    setFont(titleFont);
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_coolLabel = new QLabel(this);
    m_coolLabel->setTextFormat(Qt::PlainText);
    m_coolLabel->hide();
}

int THVTitle::Margin() const
{
    return qRound(8 * logicalDpiX() / 96.0);
}

void THVTitle::SetTitleStyle(TTitleStyle style)
{
    m_style = style;
    m_coolLabel->setVisible(style == tsCool);
    PlaceCoolLabel();
    update();
}

void THVTitle::SetFromColor(const QColor &color)
{
    m_fromColor = color;
    update();
}

void THVTitle::SetToColor(const QColor &color)
{
    m_toColor = color;
    update();
}

void THVTitle::SetDirection(bool alongWidth)
{
    m_direction = alongWidth;
    update();
}

void THVTitle::SetGlyph(const QPixmap &glyph)
{
    m_glyph = glyph.copy();
    PlaceCoolLabel();
    update();
}

void THVTitle::SetCaption(const QString &caption)
{
    m_caption = caption;
    m_coolLabel->setText(DisplayText(caption));
    PlaceCoolLabel();
    update();
}

void THVTitle::SetSubCaption(const QString &subCaption)
{
    m_subCaption = subCaption;
    update();
}

void THVTitle::SetBorderWidth(int width)
{
    m_borderWidth = qMax(0, width);
    update();
}

void THVTitle::SetAlign(TAlign align)
{
    m_align = align;
    update();
}

void THVTitle::SetRightAligned(bool value)
{
    m_rightAligned = value;
    update();
}

int THVTitle::GradientSteps() const
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return shown && shown->depth() < 9 ? 1 : 256;
}

QRect THVTitle::TextArea() const
{
    const int m = Margin();
    const int glyphWidth = m_glyph.isNull() ? 0 : m_glyph.width();
    int left = m;
    int right = width() - m - glyphWidth - m;
    if (m_rightAligned)
        right -= m;
    int top = 0;
    int bottom = height();
    if (m_style == tsShade) {
        left += m_borderWidth;
        if (m_align == alTop)
            top += m_borderWidth;
        else if (m_align == alBottom)
            bottom -= m_borderWidth;
    }
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void THVTitle::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    PlaceCoolLabel();
}

void THVTitle::PlaceCoolLabel()
{
    // The label sits left at the margin, vertically centred 3 pixels above the middle.
    const int m = Margin();
    const int glyphWidth = m_glyph.isNull() ? 0 : m_glyph.width() + m;
    const int labelHeight = m_coolLabel->sizeHint().height();
    m_coolLabel->setFont(font());
    m_coolLabel->setGeometry(m, height() / 2 - 3 - labelHeight / 2, qMax(0, width() - 2 * m - glyphWidth),
                             labelHeight);
}

void THVTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    switch (m_style) {
    case tsShade:
        PaintShade(painter);
        break;
    case tsFlat:
        PaintFlat(painter);
        break;
    case tsCool:
        PaintCool(painter);
        return; // the label draws the caption
    }
    PaintTexts(painter);
}

void THVTitle::PaintShade(QPainter &painter)
{
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const int steps = GradientSteps();
    const int border = m_borderWidth;
    const int span = (m_direction ? width() : height()) - 2 * border;
    if (span <= 0)
        return;
    // Across the span the bands cover the full extent, less the border at the edge
    // that does not touch the window side.
    const int extent = m_direction ? height() : width();
    int acrossStart = border;
    int acrossEnd = extent - border;
    if (m_align == alTop)
        acrossEnd = extent;
    else if (m_align == alBottom)
        acrossStart = 0;
    const int r0 = m_fromColor.red(), g0 = m_fromColor.green(), b0 = m_fromColor.blue();
    const int r1 = m_toColor.red(), g1 = m_toColor.green(), b1 = m_toColor.blue();
    const double band = double(span) / steps;
    for (int i = 0; i < steps; ++i) {
        const QColor color(r0 + qRound(i * double(r1 - r0) / steps), g0 + qRound(i * double(g1 - g0) / steps),
                           b0 + qRound(i * double(b1 - b0) / steps));
        const int from = qRound(i * band) + border - 2;
        const int to = from + qRound(band) + 3; // overlapping bands leave no gaps
        const QRect area = m_direction ? QRect(QPoint(from, acrossStart), QPoint(to, acrossEnd - 1))
                                       : QRect(QPoint(acrossStart, from), QPoint(acrossEnd - 1, to));
        painter.fillRect(area, color);
    }
}

void THVTitle::PaintFlat(QPainter &painter)
{
    const QPalette pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    if (!m_glyph.isNull()) {
        const int x = width() - m_glyph.width() - Margin();
        const int y = (height() - m_glyph.height()) / 2;
        painter.drawPixmap(x, y, m_glyph);
    }
    // The edge lines face the rest of the window.
    const bool atBottom = m_align == alBottom;
    const int shadowY = atBottom ? 2 : height() - 2;
    const int lightY = atBottom ? 1 : height() - 1;
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(0, shadowY, width(), shadowY);
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(0, lightY, width(), lightY);
}

void THVTitle::PaintCool(QPainter &painter)
{
    const QPalette pal = palette();
    QLinearGradient bar(0, 0, 0, height());
    bar.setColorAt(0, pal.color(QPalette::Button).lighter(106));
    bar.setColorAt(1, pal.color(QPalette::Button).darker(104));
    painter.fillRect(rect(), bar);
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(0, height() - 1, width(), height() - 1);
    if (!m_glyph.isNull())
        painter.drawPixmap(width() - m_glyph.width() - Margin(), (height() - m_glyph.height()) / 2, m_glyph);
}

void THVTitle::PaintTexts(QPainter &painter)
{
    const QRect area = TextArea();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.setClipRect(area);
    const int align = m_rightAligned ? Qt::AlignRight : Qt::AlignLeft;
    if (m_subCaption.isEmpty()) {
        // Measured first, then centred as one block.
        const int flags = align | Qt::TextWordWrap | Qt::TextExpandTabs | Qt::TextWrapAnywhere;
        const QString text = DisplayText(m_caption);
        const QRect needed = painter.boundingRect(QRect(area.left(), 0, area.width(), 100000), flags, text);
        const int top = area.top() + (area.height() - needed.height()) / 2;
        painter.drawText(QRect(area.left(), top, area.width(), needed.height()), flags, text);
        return;
    }
    const int middle = height() / 2;
    const QFontMetrics captionMetrics(font());
    const QString caption = captionMetrics.elidedText(DisplayText(m_caption), Qt::ElideRight, area.width());
    painter.drawText(QRect(area.left(), middle - captionMetrics.height(), area.width(), captionMetrics.height()),
                     align | Qt::AlignBottom | Qt::TextSingleLine | Qt::TextExpandTabs, caption);
    QFont subFont = font();
    subFont.setBold(false);
    subFont.setPointSizeF(QFontInfo(font()).pointSizeF() - 2);
    const QFontMetrics subMetrics(subFont);
    painter.setFont(subFont);
    const int subLeft = 2 * Margin();
    const QRect subArea(subLeft, middle + 1, area.right() - subLeft + 1, subMetrics.height());
    painter.setClipRect(subArea.intersected(rect()));
    painter.drawText(subArea, align | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs,
                     subMetrics.elidedText(DisplayText(m_subCaption), Qt::ElideRight, subArea.width()));
}
