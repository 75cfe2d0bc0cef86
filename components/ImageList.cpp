#include "components/ImageList.h"

TImageList::TImageList(QObject* parent) : QObject(parent)
{
    setObjectName("ImageList");
    for (int i = 0; i < Count; ++i)
        m_icons[i] = QIcon(QStringLiteral(":/images/%1.svg").arg(i, 2, 10, QChar('0')));
}

QIcon TImageList::Icon(int index) const
{
    return index >= 0 && index < Count ? m_icons[index] : QIcon();
}
