#include "components/JvTrayIcon.h"
#include "components/ImageList.h"

#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

TJvTrayIcon::TJvTrayIcon(const char* name, QWidget* mainWindow, TImageList* icons, int iconIndex)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_icons(icons),
      m_icon(new QSystemTrayIcon(icons->Icon(iconIndex), this)), m_iconIndex(iconIndex)
{
    setObjectName(name);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (!OnClick)
            return;
        if (reason == QSystemTrayIcon::Trigger)
            OnClick(Qt::LeftButton);
        else if (reason == QSystemTrayIcon::MiddleClick)
            OnClick(Qt::MiddleButton);
    });
    m_mainWindow->installEventFilter(this);
    m_icon->show();
}

TJvTrayIcon::~TJvTrayIcon()
{
    m_icon->hide();
}

void TJvTrayIcon::SetIconIndex(int index)
{
    if (index == m_iconIndex)
        return;
    m_iconIndex = index;
    m_icon->setIcon(m_icons->Icon(index));
}

QString TJvTrayIcon::Hint() const { return m_icon->toolTip(); }

void TJvTrayIcon::SetHint(const QString& hint) { m_icon->setToolTip(hint); }

void TJvTrayIcon::SetPopupMenu(QMenu* menu) { m_icon->setContextMenu(menu); }

bool TJvTrayIcon::Visible() const { return m_icon->isVisible(); }

void TJvTrayIcon::HideToTray()
{
    if (!m_mainWindow->isMinimized())
        m_mainWindow->showMinimized();
    m_mainWindow->hide();
}

void TJvTrayIcon::RestoreFromTray()
{
    if (m_mainWindow->isVisible() && !m_mainWindow->isMinimized())
        return;
    // Shown while still marked minimised, X maps the window iconic and
    // reports it minimised again, which would hide it straight back.
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

bool TJvTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    // Without a notification area the window minimises normally, so it can
    // always be found again on the task bar.
    if (watched == m_mainWindow && event->type() == QEvent::WindowStateChange && m_mainWindow->isMinimized()
        && m_mainWindow->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
        QTimer::singleShot(0, this, &TJvTrayIcon::HideToTray);
    return QObject::eventFilter(watched, event);
}
