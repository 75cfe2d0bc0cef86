#pragma once

#include <QWidget>

// The mini player's position bar: a gradient strip with an arrow and a line
// at the position. Values that do not fit the range are ignored rather than
// clamped, so a stray position never moves the marker to an end.
class TJvColorTrkBar : public QWidget {
    Q_OBJECT
public:
    TJvColorTrkBar(const char* name, QWidget* parent);

    int Minimum() const { return 0; }
    int Maximum() const { return m_maximum; }
    int Position() const { return m_position; }

    // Ignored when not above the minimum; pulls the position down to a
    // maximum below it.
    void SetMaximum(int maximum);
    // Ignored outside the range.
    void SetPosition(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int MarkerX() const;
    int PositionAt(int x) const;

    int m_maximum = 100;
    int m_position = 0;
};
