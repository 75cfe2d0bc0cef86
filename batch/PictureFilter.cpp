#include "batch/PictureFilter.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// Frames the file flags as interlaced, and frames the detector finds
// combed, are deinterlaced one output frame per input frame. The detector's
// default threshold takes fine moving detail for combing; 1.5 keeps such
// progressive pictures apart from truly combed ones.
constexpr char Deinterlace[] = "idet=intl_thres=1.5,bwdif=mode=send_frame:deint=interlaced";

QByteArray Number(int value) { return QByteArray::number(value); }

} // namespace

bool IsFitChoice(const QByteArray& sizeFragment) { return sizeFragment.startsWith(FitPrefix); }

std::optional<TPictureBox> FitBox(const QByteArray& sizeFragment)
{
    static const QRegularExpression pattern(QStringLiteral("^fit:(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(sizeFragment));
    if (!match.hasMatch())
        return std::nullopt;
    const TPictureBox box{match.captured(1).toInt(), match.captured(2).toInt()};
    if (box.width < 2 || box.height < 2)
        return std::nullopt;
    return box;
}

QByteArray PictureFilterChain(const std::optional<TPictureBox>& box)
{
    // iw, ih: the picture as stored; sar: the shape of its pixels; dar: its
    // shape as shown. A picture that fits keeps its pixels (and their
    // shape); a larger one gets square pixels at the largest size that fits.
    QByteArray width = "trunc(iw/2)*2";
    QByteArray height = "trunc(ih/2)*2";
    if (box) {
        const QByteArray w = Number(box->width & ~1);
        const QByteArray h = Number(box->height & ~1);
        const QByteArray fits = "lte(iw*sar," + w + ")*lte(ih," + h + ")";
        width = "if(" + fits + "," + width + ",max(2,2*round(min(" + w + "," + h + "*dar)/2)))";
        height = "if(" + fits + "," + height + ",max(2,2*round(min(" + h + "," + w + "/dar)/2)))";
    }
    return QByteArray(Deinterlace) + ",scale=w='" + width + "':h='" + height + "'";
}

bool ExceedsBox(const TPictureFacts& picture, const TPictureBox& box)
{
    const double shownWidth = picture.width * picture.pixelAspect;
    // Half a pixel of rounding in the library's pixel aspect is no change.
    return shownWidth > box.width + 0.5 || picture.height > box.height;
}
