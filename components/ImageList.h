#pragma once

#include <QIcon>
#include <QObject>
#include <array>

// The window's one set of small pictures, addressed by index.
class TImageList : public QObject {
    Q_OBJECT
public:
    static constexpr int Count = 21;

    enum Index {
        AddFile = 0,
        DeleteFile = 1,
        ClearFiles = 2,
        Converting = 3,
        Quit = 4,
        Video = 5,
        ConversionFailed = 6,
        Stopped = 8,
        Audio = 9,
        Detail = 10,
        Converted = 11,
        Stop = 12,
        Settings = 13,
        Added = 15,
        Console = 16,
        OpenWindow = 17,
        Homepage = 18,
        Pause = 19,
        Resume = 20,
    };

    explicit TImageList(QObject* parent);
    QIcon Icon(int index) const;

private:
    std::array<QIcon, Count> m_icons;
};
