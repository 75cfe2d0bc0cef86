#include "player/JvColorTrkBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Room at each end so that the arrow stays whole at the extremes.
constexpr int ArrowHalfWidth = 5;
constexpr int ArrowHeight = 7;
const QColor MarkerColour(128, 0, 128);
} // namespace

TJvColorTrkBar::TJvColorTrkBar(const char* name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
}

void TJvColorTrkBar::SetMaximum(int maximum)
{
    if (maximum <= Minimum())
        return;
    m_maximum = maximum;
    m_position = std::min(m_position, m_maximum);
    update();
}

void TJvColorTrkBar::SetPosition(int position)
{
    if (position < Minimum() || position > m_maximum || position == m_position)
        return;
    m_position = position;
    update();
}

int TJvColorTrkBar::MarkerX() const
{
    const int track = width() - 2 * ArrowHalfWidth - 1;
    return ArrowHalfWidth + static_cast<int>(static_cast<qint64>(track) * m_position / m_maximum);
}

int TJvColorTrkBar::PositionAt(int x) const
{
    const int track = std::max(width() - 2 * ArrowHalfWidth - 1, 1);
    const int offset = std::clamp(x - ArrowHalfWidth, 0, track);
    return static_cast<int>((static_cast<qint64>(offset) * m_maximum + track / 2) / track);
}

void TJvColorTrkBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The desktop has no "desktop" and "caption gradient" colours here; the
    // selection colour and a light shade of it give the same kind of strip.
    const QColor deep = palette().color(QPalette::Highlight);
    QLinearGradient strip(rect().topLeft(), rect().topRight());
    strip.setColorAt(0, deep.darker(130));
    strip.setColorAt(1, deep.lighter(170));
    painter.fillRect(rect(), strip);

    const int x = MarkerX();
    painter.setPen(MarkerColour);
    painter.drawLine(x, ArrowHeight, x, height() - 1);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(MarkerColour);
    const QPointF arrow[] = {{x - ArrowHalfWidth + 0.5, 0.5}, {x + ArrowHalfWidth + 0.5, 0.5}, {x + 0.5, ArrowHeight + 0.5}};
    painter.drawPolygon(arrow, 3);
}

// Dragging moves the marker only: nothing listens, so nothing seeks, and
// the player's next status line puts the marker back.
void TJvColorTrkBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetPosition(PositionAt(event->position().toPoint().x()));
}

void TJvColorTrkBar::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        SetPosition(PositionAt(event->position().toPoint().x()));
}
