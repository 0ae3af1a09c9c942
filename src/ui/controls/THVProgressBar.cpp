#include "ui/controls/THVProgressBar.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

THVProgressBar::THVProgressBar(QWidget *parent) : QWidget(parent)
{
    // Painted completely by paintEvent: no background flicker on synchronous repaints.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont captionFont = font();
    captionFont.setBold(true);
    setFont(captionFont);
    Changed();
}

void THVProgressBar::SetMin(int value)
{
    m_min = value;
    m_position = std::clamp(m_position, m_min, std::max(m_min, m_max));
    Changed();
}

void THVProgressBar::SetMax(int value)
{
    m_max = value;
    m_position = std::clamp(m_position, std::min(m_min, m_max), m_max);
    Changed();
}

void THVProgressBar::SetPosition(int value)
{
    // With Max < Min the range is empty; the position then sticks to Min.
    m_position = std::clamp(value, m_min, std::max(m_min, m_max));
    Changed();
    if (isVisible())
        repaint();
}

void THVProgressBar::SetSmooth(bool value)
{
    m_smooth = value;
    update();
}

void THVProgressBar::SetShowCaption(bool value)
{
    m_showCaption = value;
    Changed();
}

void THVProgressBar::SetUseXPThemes(bool value)
{
    m_useXPThemes = value;
    update();
}

void THVProgressBar::SetOrientation(Qt::Orientation value)
{
    m_orientation = value;
    update();
}

void THVProgressBar::StepIt()
{
    // Computed in 64 bits: Position + Step must not overflow near INT_MAX.
    const qint64 next = qint64(m_position) + m_step;
    SetPosition(int(std::clamp<qint64>(next, INT_MIN, INT_MAX)));
}

int THVProgressBar::Percent() const
{
    const double range = double(m_max) - double(m_min);
    if (range <= 0)
        return 0;
    const double percent = std::round((double(m_position) - double(m_min)) / range * 100.0);
    return int(std::clamp(percent, 0.0, 100.0));
}

void THVProgressBar::Changed()
{
    m_caption = m_showCaption ? QStringLiteral("%1 %").arg(Percent()) : QString();
    update();
}

QColor THVProgressBar::PlainCaptionColor() const
{
    return palette().color(Percent() < 46 ? QPalette::ButtonText : QPalette::HighlightedText);
}

QSize THVProgressBar::sizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(150, 20) : QSize(20, 150);
}

void THVProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette pal = palette();
    const QRect frame = rect();
    painter.fillRect(frame, pal.color(QPalette::Button));

    // Without themes the bar has a sunken bevel; with themes a thin flat border.
    QRect inner = frame.adjusted(1, 1, -1, -1);
    if (m_useXPThemes) {
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    } else {
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
    }

    QRect filled = inner;
    const int percent = Percent();
    if (m_orientation == Qt::Horizontal) {
        filled.setWidth(inner.width() * percent / 100);
    } else {
        const int height = inner.height() * percent / 100;
        filled.setTop(inner.bottom() - height + 1);
    }
    if (filled.width() > 0 && filled.height() > 0)
        painter.fillRect(filled, pal.color(QPalette::Highlight));

    if (m_caption.isEmpty())
        return;
    painter.setFont(font());
    painter.setClipRect(inner);
    if (!m_useXPThemes) {
        painter.setPen(PlainCaptionColor());
        painter.drawText(inner, Qt::AlignCenter, m_caption);
        return;
    }
    // Two-colour caption: button text over the empty part, highlighted text over the
    // filled part, so the caption stays readable at every percentage.
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.drawText(inner, Qt::AlignCenter, m_caption);
    if (filled.width() > 0 && filled.height() > 0) {
        painter.setClipRect(filled);
        painter.setPen(pal.color(QPalette::HighlightedText));
        painter.drawText(inner, Qt::AlignCenter, m_caption);
    }
}
