#pragma once

#include <QColor>
#include <QWidget>

// The panel the player draws its video into. It has a native window of its
// own, whose X11 id the player is given, and paints the colour the player is
// told to treat as its colour key.
class TMplayerPanel : public QWidget {
    Q_OBJECT
public:
    static inline const QColor Background{16, 16, 16};

    TMplayerPanel(const char* name, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
