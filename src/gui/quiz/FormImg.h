#pragma once

#include <QList>
#include <QPixmap>

// The picture store of the question window: the characters that ask the
// questions and the frames of the eye. Pictures are painted when first
// needed, so that start-up pays nothing for them.
class FormImg {
public:
    static FormImg& instance();
    // Frees every picture; the store fills again on demand.
    static void unload();

    qsizetype imgCount() const { return Img.size(); }
    qsizetype eyeCount() const { return ImgEye.size(); }
    const QPixmap& img(qsizetype index, qreal dpr);
    const QPixmap& imgEye(qsizetype index, qreal dpr);

private:
    FormImg();
    QList<QPixmap> Img;
    QList<QPixmap> ImgEye;
};
