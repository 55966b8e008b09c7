#include "tags/picture/picture.h"

#include "tags/typetagv2.h"

namespace tags {

QImage pictureFromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    return QImage::fromData(bytes);
}

QImage TypeTagV2::Pic() const
{
    return pictureFromBytes(m_pictureBinary);
}

} // namespace tags
