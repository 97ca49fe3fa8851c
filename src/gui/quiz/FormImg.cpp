#include "quiz/FormImg.h"

#include "quiz/art/Artwork.h"

#include <memory>

namespace {
std::unique_ptr<FormImg>& store() {
    static std::unique_ptr<FormImg> s;
    return s;
}

constexpr QSize CharacterSize(57, 57);
constexpr QSize EyeSize(32, 32);
} // namespace

FormImg::FormImg() : Img(Artwork::characterCount()), ImgEye(Artwork::eyeFrameCount()) {}

FormImg& FormImg::instance() {
    if (!store())
        store().reset(new FormImg);
    return *store();
}

void FormImg::unload() {
    store().reset();
}

const QPixmap& FormImg::img(qsizetype index, qreal dpr) {
    QPixmap& picture = Img[index];
    if (picture.isNull() || picture.devicePixelRatio() != dpr)
        picture = Artwork::character(static_cast<int>(index), CharacterSize, dpr);
    return picture;
}

const QPixmap& FormImg::imgEye(qsizetype index, qreal dpr) {
    QPixmap& picture = ImgEye[index];
    if (picture.isNull() || picture.devicePixelRatio() != dpr)
        picture = Artwork::eyeFrame(static_cast<int>(index), EyeSize, dpr);
    return picture;
}
