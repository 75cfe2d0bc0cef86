#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QMenu;
class QSystemTrayIcon;
class QWidget;
class TImageList;

// The notification-area icon. It exists for the program's whole life; while
// a notification area is present, minimising the main window hides the
// program into it.
class TJvTrayIcon : public QObject {
    Q_OBJECT
public:
    TJvTrayIcon(const char* name, QWidget* mainWindow, TImageList* icons, int iconIndex);
    ~TJvTrayIcon() override;

    int IconIndex() const { return m_iconIndex; }
    void SetIconIndex(int index);

    QString Hint() const;
    void SetHint(const QString& hint);
    void SetPopupMenu(QMenu* menu);

    // Called for every click with the mouse button that made it.
    std::function<void(Qt::MouseButton)> OnClick;

    void HideToTray();
    void RestoreFromTray();
    bool Visible() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_mainWindow;
    TImageList* m_icons;
    QSystemTrayIcon* m_icon;
    int m_iconIndex;
};
