#include "quiz/art/Artwork.h"
#include "quiz/art/Paint.h"

#include <QtMath>

#include <array>
#include <vector>

// Characters. Each is drawn in a 100 x 100 design box standing on its bottom
// edge. The index chooses the species in turn, and within a species steps
// through colours, eyes, mouths and accessories with strides that never
// repeat a colour or a hat for the same species.

namespace Artwork::detail {
namespace {

const QPointF kGaze(0.32, -0.3); // toward the balloon at the upper right

void closedEye(QPainter& p, QPointF c, qreal r) {
    QPainterPath arc;
    arc.moveTo(c + QPointF(-0.8 * r, 0.25 * r));
    arc.quadTo(c + QPointF(0, -0.85 * r), c + QPointF(0.8 * r, 0.25 * r));
    strokePath(p, arc, kLine);
}

} // namespace

void drawEye(QPainter& p, QPointF c, qreal r, Eyes style, bool rightEye, const QColor& iris) {
    const QPointF gaze = kGaze * r;
    switch (style) {
    case Eyes::Wink:
        if (rightEye) {
            closedEye(p, c, r);
            return;
        }
        [[fallthrough]];
    case Eyes::Round:
    case Eyes::Lashes:
    case Eyes::Iris: {
        if (style == Eyes::Lashes) {
            const qreal side = rightEye ? 1 : -1;
            for (qreal a : {-25.0, 0.0, 25.0}) {
                const qreal rad = qDegreesToRadians(a + side * 35);
                const QPointF dir(qSin(rad), -qCos(rad));
                strokeLine(p, c + dir * r * 0.9, c + dir * r * 1.45, kLine * 0.7);
            }
        }
        fillOutlined(p, circle(c, r), kWhite, kLine * 0.8);
        if (style == Eyes::Iris) {
            fillPlain(p, circle(c + gaze, r * 0.62), iris);
            fillPlain(p, circle(c + gaze, r * 0.32), kInk);
        } else {
            fillPlain(p, circle(c + gaze, r * 0.56), kInk);
        }
        fillPlain(p, circle(c + gaze + QPointF(-0.2, -0.2) * r, r * 0.2), kWhite);
        return;
    }
    case Eyes::Sparkle: {
        const QPointF e = c + gaze * 0.25;
        fillPlain(p, ellipse(e.x(), e.y(), r * 0.8, r), kInk);
        fillPlain(p, circle(e + QPointF(0.22, -0.35) * r, r * 0.32), kWhite);
        fillPlain(p, circle(e + QPointF(-0.25, 0.38) * r, r * 0.15), kWhite);
        return;
    }
    case Eyes::Dot: {
        const QPointF e = c + gaze * 0.4;
        fillPlain(p, ellipse(e.x(), e.y(), r * 0.45, r * 0.6), kInk);
        fillPlain(p, circle(e + QPointF(0.12, -0.25) * r, r * 0.14), kWhite);
        return;
    }
    case Eyes::Tall: {
        fillOutlined(p, ellipse(c.x(), c.y(), r * 0.75, r * 1.12), kWhite, kLine * 0.8);
        const QPointF e = c + QPointF(0.24, -0.38) * r;
        fillPlain(p, ellipse(e.x(), e.y(), r * 0.44, r * 0.58), kInk);
        fillPlain(p, circle(e + QPointF(-0.12, -0.22) * r, r * 0.16), kWhite);
        return;
    }
    case Eyes::Happy:
        closedEye(p, c, r);
        return;
    }
}

void drawMouth(QPainter& p, QPointF m, qreal w, Mouth style) {
    auto at = [&](qreal x, qreal y) { return m + QPointF(x * w, y * w); };
    auto openShape = [&](qreal depth) {
        QPainterPath path;
        path.moveTo(at(-0.5, 0));
        path.quadTo(at(0, 0.1), at(0.5, 0));
        path.cubicTo(at(0.45, depth), at(-0.45, depth), at(-0.5, 0));
        path.closeSubpath();
        return path;
    };
    switch (style) {
    case Mouth::Smile: {
        QPainterPath path;
        path.moveTo(at(-0.5, 0));
        path.quadTo(at(0, 0.55), at(0.5, 0));
        strokePath(p, path, kLine);
        return;
    }
    case Mouth::Fang: {
        fillOutlined(p, polygon({at(0.1, 0.2), at(0.3, 0.2), at(0.21, 0.42)}), kWhite, kLine * 0.6);
        QPainterPath path;
        path.moveTo(at(-0.5, 0));
        path.quadTo(at(0, 0.55), at(0.5, 0));
        strokePath(p, path, kLine);
        return;
    }
    case Mouth::Open:
    case Mouth::Grin:
    case Mouth::Talk: {
        const QPainterPath shape =
            style == Mouth::Talk ? ellipse(m.x() + 0.03 * w, m.y() + 0.16 * w, 0.24 * w, 0.27 * w)
                                 : openShape(style == Mouth::Grin ? 0.55 : 0.72);
        fillPlain(p, shape, kMouthInside);
        p.save();
        p.setClipPath(shape, Qt::IntersectClip);
        if (style == Mouth::Grin)
            fillPlain(p, rounded(m.x() - 0.6 * w, m.y() - 0.2 * w, 1.2 * w, 0.37 * w, 0), kWhite);
        else
            fillPlain(p, ellipse(m.x() + 0.03 * w, m.y() + 0.5 * w, 0.26 * w, 0.17 * w), kTongue);
        p.restore();
        strokePath(p, shape, kLine * 0.85);
        return;
    }
    case Mouth::Cat: {
        QPainterPath path;
        path.moveTo(at(-0.5, 0));
        path.quadTo(at(-0.25, 0.42), at(0, 0.05));
        path.quadTo(at(0.25, 0.42), at(0.5, 0));
        strokePath(p, path, kLine);
        return;
    }
    }
}

void shine(QPainter& p, qreal cx, qreal cy, qreal rx, qreal ry) {
    fillPlain(p, ellipse(cx, cy, rx, ry, -30), QColor(255, 255, 255, 80));
}
} // namespace Artwork::detail

namespace Artwork {
using namespace detail;

namespace {

constexpr int kCharacterCount = 125;

const std::array<QColor, 14> kPalette = {
    QColor(255, 140, 130), // coral
    QColor(255, 186, 120), // peach
    QColor(255, 220, 100), // butter
    QColor(132, 214, 160), // mint
    QColor(122, 190, 245), // sky
    QColor(184, 160, 238), // lavender
    QColor(248, 158, 204), // pink
    QColor(86, 196, 196),  // teal
    QColor(186, 222, 104), // lime
    QColor(255, 150, 84),  // orange
    QColor(140, 150, 240), // periwinkle
    QColor(232, 110, 144), // rose
    QColor(214, 172, 128), // sand
    QColor(158, 178, 202), // slate
};

enum class Species {
    Blob,
    Cat,
    Bear,
    Robot,
    Owl,
    Monster,
    Fish,
    Bird,
    Frog,
    Bunny,
    Ghost,
    Penguin,
    Dog,
    Octopus,
    Mouse,
};
constexpr int kSpeciesCount = 15;

enum class Hat { None, TopHat, PartyHat, Crown, Beanie, Bow, Flower, Cap };
const std::array<Hat, 9> kHatTurns = {Hat::None,  Hat::TopHat, Hat::PartyHat,
                                      Hat::Crown, Hat::None,   Hat::Beanie,
                                      Hat::Bow,   Hat::Flower, Hat::Cap};

enum class Extra { None, Glasses, BowTie, Scarf };
const std::array<Extra, 5> kExtraTurns = {Extra::None, Extra::Glasses, Extra::BowTie, Extra::None,
                                          Extra::Scarf};

struct Look {
    Species species = Species::Blob;
    Eyes eyes = Eyes::Round;
    Mouth mouth = Mouth::Smile;
    Hat hat = Hat::None;
    Extra extra = Extra::None;
    QColor body, dark, light, accent, iris;
    int variant = 0;
    bool cheeks = true;
};

// Where a species put its face, so that eyes, mouth and accessories can be
// added the same way for all of them.
struct Face {
    std::vector<QPointF> eyes{};
    qreal eyeSize = 8;
    bool ownEyes = false;
    QPointF mouth{};
    qreal mouthWidth = 16;
    bool ownMouth = false;
    bool teeth = false;
    bool cheeks = true;
    QPointF top{};         // middle of the top of the head, where a hat sits
    QPointF ornament{};    // where a bow or a flower sits, if not beside the top
    qreal headWidth = 42;  // how wide a hat may be
    qreal hatTilt = 8;     // degrees, toward the right
    bool tallEars = false; // no room for a big hat
    QPointF neck{};
    qreal neckWidth = 0; // 0: no neck for a scarf
};

Look lookFor(int index) {
    const int s = index % kSpeciesCount;
    const int turn = index / kSpeciesCount;
    Look k;
    k.species = static_cast<Species>(s);
    k.body = kPalette[(turn * 5 + s * 3) % kPalette.size()];
    k.accent = kPalette[(turn * 5 + s * 3 + 6) % kPalette.size()];
    k.eyes = static_cast<Eyes>((turn * 3 + s) % kEyesCount);
    k.mouth = static_cast<Mouth>((turn + s * 2) % kMouthCount);
    k.hat = kHatTurns[(turn * 2 + s) % kHatTurns.size()];
    k.extra = kExtraTurns[(turn * 3 + s * 2) % kExtraTurns.size()];
    k.variant = (turn + s) % 3;
    k.cheeks = (turn + s) % 4 != 3;
    if (k.species == Species::Robot)
        k.body = mix(k.body, QColor(178, 184, 200), 0.45);
    k.dark = mix(k.body, kInk, 0.22);
    k.light = mix(k.body, kWhite, 0.6);
    k.accent = mix(k.accent, kInk, 0.08);
    const std::array<QColor, 4> irises = {QColor(92, 150, 220), QColor(96, 170, 90),
                                          QColor(160, 105, 60), QColor(150, 100, 210)};
    k.iris = irises[(turn + s) % irises.size()];
    return k;
}

// Small nubs of arms: one hanging on the left, one raised toward the balloon.
void arms(QPainter& p, const QColor& fill, QPointF left, QPointF right, qreal length = 10) {
    fillOutlined(p, ellipse(left.x(), left.y(), 5.5, length, 25), fill, kLine);
    fillOutlined(p, ellipse(right.x(), right.y(), 5.5, length, 45), fill, kLine);
}

void feet(QPainter& p, const QColor& fill, qreal y = 93, qreal spread = 12) {
    fillOutlined(p, ellipse(50 - spread, y, 9, 5), fill, kLine);
    fillOutlined(p, ellipse(51 + spread, y, 9, 5), fill, kLine);
}

// Body, arms and feet of the furry ones, with room for a big head on top.
void mammalBody(QPainter& p, const Look& k) {
    feet(p, k.dark);
    arms(p, k.body, {26, 79}, {79, 70});
    fillOutlined(p, ellipse(51, 80, 24, 15), k.body, kLine);
    fillPlain(p, ellipse(52, 84, 13, 9), k.light);
}

Face mammalFace() {
    return {.eyes = {{40, 48}, {63, 48}},
            .eyeSize = 7.5,
            .mouth = {53, 63},
            .mouthWidth = 14,
            .top = {51, 23},
            .headWidth = 40,
            .neck = {51, 76},
            .neckWidth = 34};
}

QPainterPath mammalHead() {
    return ellipse(51, 50, 33, 28);
}

void whiskers(QPainter& p, QPointF nose) {
    const QColor c = withAlpha(kInk, 200);
    for (qreal dy : {-2.0, 3.0}) {
        strokeLine(p, nose + QPointF(-14, dy), nose + QPointF(-28, dy * 1.8 - 2), 1.6, c);
        strokeLine(p, nose + QPointF(14, dy), nose + QPointF(28, dy * 1.8 - 3), 1.6, c);
    }
}

Face drawCat(QPainter& p, const Look& k) {
    QPainterPath tail;
    tail.moveTo(66, 88);
    tail.cubicTo(88, 94, 97, 76, 88, 62);
    fillOutlined(p, thick(tail, 7), k.variant == 1 ? k.dark : k.body, kLine);
    mammalBody(p, k);
    fillOutlined(p, polygon({{21, 44}, {22, 9}, {46, 25}}), k.body, kLine);
    fillOutlined(p, polygon({{57, 25}, {82, 8}, {84, 44}}), k.body, kLine);
    fillPlain(p, polygon({{26, 36}, {26, 17}, {39, 26}}), QColor(255, 170, 190));
    fillPlain(p, polygon({{64, 26}, {78, 17}, {79, 36}}), QColor(255, 170, 190));
    fillOutlined(p, mammalHead(), k.body, kLine);
    if (k.variant == 1) {
        for (qreal x : {44.0, 51.0, 58.0})
            strokeLine(p, {x, 24}, {x + 0.5, 31}, 3.2, k.dark);
    } else if (k.variant == 2) {
        fillPlain(p, ellipse(53, 63, 14, 9), k.light);
    }
    shine(p, 31, 35, 7, 4);
    Face f = mammalFace();
    whiskers(p, {53, 60});
    fillOutlined(p, polygon({{49.5, 56}, {56.5, 56}, {53, 60}}), QColor(255, 140, 165), 1.6);
    f.mouth = {53, 62};
    f.mouthWidth = 12;
    return f;
}

Face drawBear(QPainter& p, const Look& k) {
    mammalBody(p, k);
    for (qreal x : {25.0, 77.0}) {
        fillOutlined(p, circle({x, 29}, 11), k.body, kLine);
        fillPlain(p, circle({x, 30}, 6), k.light);
    }
    fillOutlined(p, mammalHead(), k.body, kLine);
    shine(p, 31, 35, 7, 4);
    fillOutlined(p, ellipse(54, 61, 13, 9.5), k.light, kLine * 0.8);
    fillPlain(p, ellipse(54, 56.5, 4.5, 3.2), kInk);
    Face f = mammalFace();
    f.eyes = {{39, 45}, {66, 45}};
    f.mouth = {54, 63};
    f.mouthWidth = 10;
    if (k.variant == 2)
        fillPlain(p, ellipse(51, 87, 6, 4), k.dark);
    return f;
}

Face drawDog(QPainter& p, const Look& k) {
    QPainterPath tail;
    tail.moveTo(68, 86);
    tail.quadTo(84, 84, 86, 70);
    fillOutlined(p, thick(tail, 6), k.body, kLine);
    mammalBody(p, k);
    fillOutlined(p, mammalHead(), k.body, kLine);
    if (k.variant == 0)
        fillPlain(p, ellipse(64, 46, 10, 9), k.dark);
    else if (k.variant == 2)
        fillPlain(p, ellipse(36, 30, 7, 5), k.dark);
    shine(p, 31, 35, 7, 4);
    fillOutlined(p, ellipse(21, 50, 8, 17, 18), k.dark, kLine);
    fillOutlined(p, ellipse(82, 49, 8, 17, -18), k.dark, kLine);
    fillOutlined(p, ellipse(54, 61, 13, 9.5), k.light, kLine * 0.8);
    fillOutlined(p, ellipse(54, 56, 5, 3.6), kInk, 1);
    Face f = mammalFace();
    f.eyes = {{40, 46}, {65, 46}};
    f.mouth = {54, 63};
    f.mouthWidth = 11;
    return f;
}

Face drawBunny(QPainter& p, const Look& k) {
    mammalBody(p, k);
    fillOutlined(p, ellipse(38, 24, 8, 20, -10), k.body, kLine);
    fillOutlined(p, ellipse(65, 22, 8, 20, 14), k.body, kLine);
    fillPlain(p, ellipse(38, 25, 3.8, 14, -10), QColor(255, 176, 196));
    fillPlain(p, ellipse(65, 23, 3.8, 14, 14), QColor(255, 176, 196));
    fillOutlined(p, ellipse(51, 57, 32, 25), k.body, kLine);
    shine(p, 32, 45, 7, 4);
    Face f = mammalFace();
    f.eyes = {{40, 54}, {63, 54}};
    f.eyeSize = 7;
    fillOutlined(p, ellipse(53, 62.5, 3.5, 2.5), QColor(255, 140, 165), 1.5);
    f.mouth = {53, 66};
    f.mouthWidth = 11;
    f.teeth = true;
    f.top = {51, 34};
    f.tallEars = true;
    f.neck = {51, 81};
    f.neckWidth = 30;
    return f;
}

Face drawMouse(QPainter& p, const Look& k) {
    QPainterPath tail;
    tail.moveTo(68, 90);
    tail.cubicTo(86, 96, 96, 84, 90, 76);
    tail.cubicTo(86, 70, 80, 76, 84, 80);
    strokePath(p, tail, 5.5);
    strokePath(p, tail, 2.5, QColor(255, 170, 190));
    mammalBody(p, k);
    for (QPointF c : {QPointF(24, 31), QPointF(79, 29)}) {
        fillOutlined(p, circle(c, 16), k.body, kLine);
        fillPlain(p, circle(c + QPointF(0, 1), 10), QColor(255, 180, 198));
    }
    fillOutlined(p, ellipse(51, 54, 30, 25), k.body, kLine);
    shine(p, 33, 42, 6, 3.5);
    whiskers(p, {55, 62});
    fillOutlined(p, circle({55, 60}, 3.2), QColor(255, 130, 160), 1.5);
    Face f = mammalFace();
    f.eyes = {{41, 50}, {63, 50}};
    f.eyeSize = 7;
    f.mouth = {55, 66};
    f.mouthWidth = 10;
    f.top = {51, 30};
    f.headWidth = 34;
    f.neck = {51, 78};
    f.neckWidth = 30;
    return f;
}

Face drawBlob(QPainter& p, const Look& k) {
    arms(p, k.body, {15, 70}, {86, 62});
    QPainterPath body;
    body.moveTo(14, 89);
    body.cubicTo(8, 50, 26, 22, 50, 22);
    body.cubicTo(76, 22, 94, 50, 88, 89);
    const qreal xs[] = {88, 73, 58, 43, 28, 14};
    for (int i = 1; i < 6; ++i)
        body.quadTo((xs[i - 1] + xs[i]) / 2, 98, xs[i], 90);
    body.closeSubpath();
    if (k.variant == 1) {
        strokeLine(p, {54, 24}, {60, 10}, kLine);
        fillOutlined(p, circle({61, 8}, 4.5), k.accent, kLine);
    } else if (k.variant == 2) {
        strokeLine(p, {50, 24}, {51, 14}, kLine, QColor(70, 150, 80));
        fillOutlined(p, ellipse(44, 13, 7, 3.5, 20), QColor(120, 200, 110), kLine * 0.7);
        fillOutlined(p, ellipse(58, 12, 7, 3.5, -20), QColor(120, 200, 110), kLine * 0.7);
    }
    fillOutlined(p, body, k.body, kLine);
    shine(p, 30, 38, 8, 4.5);
    return {.eyes = {{42, 50}, {64, 50}},
            .eyeSize = 9,
            .mouth = {55, 67},
            .mouthWidth = 16,
            .top = {51, 23},
            .headWidth = 42,
            .neck = {52, 83}};
}

Face drawGhost(QPainter& p, const Look& k) {
    const QColor fill = mix(k.body, kWhite, 0.55);
    p.translate(50, 60);
    p.rotate(-5);
    p.translate(-50, -60);
    arms(p, fill, {15, 66}, {87, 56}, 9);
    QPainterPath body;
    body.moveTo(18, 88);
    body.lineTo(18, 56);
    body.cubicTo(18, 14, 84, 14, 84, 56);
    body.lineTo(84, 88);
    const qreal xs[] = {84, 70.5, 57, 43.5, 30, 18};
    for (int i = 1; i < 6; ++i) {
        const qreal mid = (xs[i - 1] + xs[i]) / 2;
        body.quadTo((xs[i - 1] + mid) / 2, 97, mid, 90);
        body.quadTo((mid + xs[i]) / 2, 84, xs[i], 88);
    }
    body.closeSubpath();
    fillOutlined(p, body, fill, kLine);
    shine(p, 33, 36, 8, 4.5);
    if (k.variant == 1)
        fillPlain(p, ellipse(51, 78, 14, 6), mix(k.body, kWhite, 0.3));
    return {.eyes = {{41, 50}, {63, 50}},
            .eyeSize = 8.5,
            .mouth = {53, 66},
            .mouthWidth = 14,
            .top = {51, 25},
            .headWidth = 40,
            .neck = {51, 80}};
}

Face drawOwl(QPainter& p, const Look& k) {
    feet(p, kOrange, 94, 9);
    fillOutlined(p, polygon({{23, 36}, {20, 9}, {41, 24}}), k.dark, kLine);
    fillOutlined(p, polygon({{61, 24}, {83, 8}, {80, 36}}), k.dark, kLine);
    fillOutlined(p, ellipse(51, 58, 34, 37), k.body, kLine);
    fillPlain(p, ellipse(51, 77, 19, 15), k.light);
    for (QPointF c : {QPointF(44, 72), QPointF(58, 72), QPointF(51, 80)}) {
        QPainterPath v;
        v.moveTo(c + QPointF(-3.5, -1.5));
        v.quadTo(c + QPointF(0, 2.5), c + QPointF(3.5, -1.5));
        strokePath(p, v, 1.8, k.dark);
    }
    fillOutlined(p, ellipse(20, 64, 8, 18, 12), k.dark, kLine);
    fillOutlined(p, ellipse(83, 58, 8, 18, 35), k.dark, kLine);
    fillOutlined(p, circle({39, 46}, 14), k.light, kLine * 0.7);
    fillOutlined(p, circle({64, 45}, 14), k.light, kLine * 0.7);
    fillOutlined(p, polygon({{51.5, 51}, {56, 56}, {51.5, 63}, {47, 56}}), kOrange, kLine * 0.8);
    return {.eyes = {{39, 46}, {64, 45}},
            .eyeSize = 9,
            .ownMouth = true,
            .cheeks = false,
            .top = {51, 22},
            .headWidth = 34,
            .neck = {51, 66}};
}

Face drawPenguin(QPainter& p, const Look& k) {
    const QColor coat = mix(k.body, kInk, 0.5);
    feet(p, kOrange, 94, 10);
    fillOutlined(p, ellipse(19, 66, 6, 16, 20), coat, kLine);
    fillOutlined(p, ellipse(83, 58, 6, 16, 45), coat, kLine);
    fillOutlined(p, ellipse(51, 58, 32, 37), coat, kLine);
    const QPainterPath mask =
        ellipse(51, 70, 22, 23).united(circle({42, 45}, 12)).united(circle({61, 44}, 12));
    fillPlain(p, mask, QColor(252, 250, 242));
    shine(p, 33, 32, 6, 3.5);
    fillOutlined(p, polygon({{47, 51}, {64, 52}, {49, 58}}), kOrange, kLine * 0.8);
    return {.eyes = {{42, 44}, {61, 43}},
            .eyeSize = 7,
            .ownMouth = true,
            .top = {51, 22},
            .headWidth = 38,
            .neck = {51, 66},
            .neckWidth = 42};
}

Face drawBird(QPainter& p, const Look& k) {
    const QPainterPath legs = [] {
        QPainterPath path;
        for (qreal x : {42.0, 58.0}) {
            path.moveTo(x, 86);
            path.lineTo(x, 95);
            path.moveTo(x - 4, 96);
            path.lineTo(x + 4, 96);
        }
        return path;
    }();
    strokePath(p, legs, 3, QColor(220, 130, 40));
    fillOutlined(p, ellipse(14, 62, 5, 12, -60), k.dark, kLine);
    fillOutlined(p, ellipse(15, 70, 5, 12, -80), k.dark, kLine);
    fillOutlined(p, ellipse(44, 25, 4, 9, -20), k.dark, kLine);
    fillOutlined(p, ellipse(52, 23, 4, 10, 10), k.dark, kLine);
    fillOutlined(p, ellipse(48, 60, 33, 31), k.body, kLine);
    fillPlain(p, ellipse(55, 73, 20, 14), k.light);
    shine(p, 30, 42, 7, 4);
    fillOutlined(p, ellipse(34, 66, 14, 9, -25), k.dark, kLine);
    fillOutlined(p, polygon({{76, 48}, {94, 51}, {77, 56}}), kOrange, kLine * 0.8);
    fillOutlined(p, polygon({{77, 57}, {89, 60}, {76, 62}}), mix(kOrange, kInk, 0.15), kLine * 0.8);
    return {.eyes = {{57, 46}, {73, 44}},
            .eyeSize = 7,
            .ownMouth = true,
            .top = {48, 29},
            .headWidth = 36,
            .neck = {52, 84}};
}

Face drawFish(QPainter& p, const Look& k) {
    for (auto [c, r] :
         {std::pair{QPointF(92, 28), 3.5}, {QPointF(86, 16), 2.5}, {QPointF(93, 7), 1.8}})
        fillOutlined(p, circle(c, r), QColor(255, 255, 255, 170), 1.4);
    p.translate(50, 62);
    p.rotate(-12);
    p.translate(-50, -62);
    QPainterPath tail;
    tail.moveTo(25, 60);
    tail.quadTo(13, 42, 8, 44);
    tail.quadTo(15, 60, 8, 76);
    tail.quadTo(13, 78, 25, 60);
    fillOutlined(p, tail, k.dark, kLine);
    QPainterPath fin;
    fin.moveTo(34, 42);
    fin.quadTo(46, 20, 68, 36);
    fin.closeSubpath();
    fillOutlined(p, fin, k.dark, kLine);
    fillOutlined(p, polygon({{46, 80}, {40, 92}, {58, 82}}), k.dark, kLine);
    const QPainterPath body = ellipse(52, 60, 35, 24);
    fillOutlined(p, body, k.body, kLine);
    p.save();
    p.setClipPath(body);
    if (k.variant == 0) {
        for (qreal x : {36.0, 52.0})
            fillPlain(p, rounded(x, 30, 7, 60, 3), k.light);
    } else if (k.variant == 1) {
        fillPlain(p, ellipse(52, 78, 34, 10), k.light);
    } else {
        for (QPointF c : {QPointF(32, 56), QPointF(44, 50), QPointF(44, 64), QPointF(56, 56)}) {
            QPainterPath scale;
            scale.moveTo(c + QPointF(0, -5));
            scale.quadTo(c + QPointF(5, 0), c + QPointF(0, 5));
            strokePath(p, scale, 1.8, k.dark);
        }
    }
    p.restore();
    strokePath(p, body, kLine);
    shine(p, 40, 45, 8, 3.5);
    fillOutlined(p, ellipse(50, 66, 8, 4, -30), k.dark, kLine * 0.8);
    return {.eyes = {{71, 52}},
            .eyeSize = 9,
            .mouth = {81, 64},
            .mouthWidth = 9,
            .top = {62, 38},
            .headWidth = 30,
            .hatTilt = 0};
}

Face drawFrog(QPainter& p, const Look& k) {
    feet(p, k.dark, 93, 20);
    arms(p, k.body, {16, 76}, {86, 68}, 9);
    const QPainterPath body =
        ellipse(51, 64, 38, 27).united(circle({34, 39}, 13)).united(circle({67, 37}, 13));
    fillOutlined(p, body, k.body, kLine);
    fillPlain(p, ellipse(51, 80, 22, 9), k.light);
    shine(p, 24, 52, 6, 3.5);
    if (k.variant == 1)
        for (QPointF c : {QPointF(24, 72), QPointF(76, 74), QPointF(30, 80)})
            fillPlain(p, circle(c, 3), k.dark);
    return {.eyes = {{34, 39}, {67, 37}},
            .eyeSize = 8.5,
            .mouth = {53, 62},
            .mouthWidth = 30,
            .top = {51, 38},
            .ornament = {51, 42},
            .headWidth = 28};
}

Face drawMonster(QPainter& p, const Look& k) {
    feet(p, k.dark, 93, 14);
    arms(p, k.body, {14, 68}, {87, 56}, 11);
    const QColor horn(250, 238, 212);
    if (k.variant != 1) {
        QPainterPath left;
        left.moveTo(26, 34);
        left.quadTo(14, 24, 20, 6);
        left.quadTo(30, 22, 40, 27);
        QPainterPath right;
        right.moveTo(64, 27);
        right.quadTo(76, 22, 84, 5);
        right.quadTo(90, 24, 76, 34);
        fillOutlined(p, left, horn, kLine);
        fillOutlined(p, right, horn, kLine);
    } else {
        strokeLine(p, {54, 26}, {58, 9}, kLine);
        fillOutlined(p, circle({58.5, 8}, 5), k.accent, kLine);
    }
    fillOutlined(p, rounded(16, 23, 70, 72, 33), k.body, kLine);
    for (auto [c, r] : {std::pair{QPointF(25, 78), 4.0},
                        {QPointF(77, 81), 3.0},
                        {QPointF(73, 33), 3.5},
                        {QPointF(30, 34), 2.5}})
        fillPlain(p, circle(c, r), k.dark);
    shine(p, 32, 42, 7, 4);
    Face f;
    f.eyeSize = 9;
    if (k.variant == 1) {
        f.eyes = {{53, 47}};
        f.eyeSize = 14;
    } else if (k.variant == 2) {
        f.eyes = {{37, 51}, {52, 39}, {67, 51}};
        f.eyeSize = 7.5;
    } else {
        f.eyes = {{40, 48}, {64, 48}};
    }
    f.mouth = {53, 68};
    f.mouthWidth = 22;
    f.top = {51, 24};
    f.headWidth = 38;
    f.neck = {51, 86};
    return f;
}

Face drawOctopus(QPainter& p, const Look& k) {
    // A skirt under the head joins the tentacles' roots, and the tentacles
    // spread apart downward, so no gap between them closes into a hole.
    QPainterPath shape = ellipse(51, 44, 31, 27).united(rounded(22, 48, 58, 24, 11));
    for (int i = 0; i < 5; ++i) {
        const qreal x = 26 + i * 12.5;
        const qreal spread = (i - 2) * 3.5;
        const qreal curl = i % 2 == 0 ? 1 : -1;
        QPainterPath leg;
        leg.moveTo(x, 62);
        leg.cubicTo(x + spread * 0.3, 76, x + spread, 80, x + spread + curl * 2, 88);
        leg.quadTo(x + spread + curl * 5, 95, x + spread - curl * 1.5, 93);
        shape = shape.united(thick(leg, 9));
    }
    fillOutlined(p, shape, k.body, kLine);
    for (auto [c, r] :
         {std::pair{QPointF(32, 30), 3.5}, {QPointF(42, 22), 2.5}, {QPointF(70, 26), 3.0}})
        fillPlain(p, circle(c, r), k.dark);
    shine(p, 35, 34, 6, 3.5);
    return {.eyes = {{40, 44}, {63, 44}},
            .eyeSize = 8.5,
            .mouth = {53, 59},
            .mouthWidth = 12,
            .top = {51, 18},
            .headWidth = 40,
            .neck = {51, 72}};
}

Face drawRobot(QPainter& p, const Look& k) {
    const QColor metal = k.dark;
    for (qreal x : {36.0, 58.0})
        fillOutlined(p, rounded(x, 86, 9, 10, 2), metal, kLine);
    fillOutlined(p, rounded(17, 70, 8, 18, 4), k.body, kLine);
    QPainterPath raised;
    raised.moveTo(72, 76);
    raised.lineTo(86, 60);
    fillOutlined(p, thick(raised, 8), k.body, kLine);
    fillOutlined(p, rounded(26, 66, 50, 24, 7), k.body, kLine);
    fillOutlined(p, rounded(36, 72, 30, 12, 3), k.light, kLine * 0.7);
    fillPlain(p, circle({43, 78}, 2.5), k.accent);
    fillPlain(p, circle({51, 78}, 2.5), kGold);
    fillPlain(p, circle({59, 78}, 2.5), QColor(120, 210, 140));
    fillOutlined(p, rounded(44, 60, 14, 8, 2), metal, kLine);
    fillOutlined(p, rounded(9, 36, 9, 18, 3), metal, kLine);
    fillOutlined(p, rounded(84, 36, 9, 18, 3), metal, kLine);
    if (k.hat == Hat::None) {
        strokeLine(p, {51, 24}, {51, 11}, kLine);
        fillOutlined(p, circle({51, 9}, 5), k.accent, kLine);
    }
    fillOutlined(p, rounded(15, 22, 72, 42, 13), k.body, kLine);
    shine(p, 26, 29, 6, 3);
    Face f;
    f.top = {51, 23};
    f.ornament = {72, 23};
    f.headWidth = 44;
    f.neck = {51, 69};
    if (k.variant == 1) {
        fillOutlined(p, rounded(24, 30, 54, 28, 9), k.light, kLine * 0.8);
        f.eyes = {{42, 41}, {62, 41}};
        f.eyeSize = 7;
        f.mouth = {53, 50};
        f.mouthWidth = 13;
        f.cheeks = false;
        return f;
    }
    fillOutlined(p, rounded(24, 30, 54, 28, 9), QColor(46, 50, 80), kLine * 0.8);
    const QColor glow = mix(k.accent, kWhite, 0.45);
    const QPointF look(2, -1.5);
    if (k.eyes == Eyes::Happy || k.eyes == Eyes::Wink) {
        for (QPointF c : {QPointF(42, 42), QPointF(62, 42)}) {
            QPainterPath arc;
            arc.moveTo(c + QPointF(-5, 2));
            arc.quadTo(c + QPointF(0, -5), c + QPointF(5, 2));
            strokePath(p, arc, 3, glow);
        }
    } else if (k.variant == 0) {
        for (QPointF c : {QPointF(42, 41), QPointF(62, 41)})
            fillPlain(p, circle(c + look, 5.5), glow);
    } else {
        for (QPointF c : {QPointF(42, 41), QPointF(62, 41)})
            fillPlain(p, rounded(c.x() - 5 + look.x(), c.y() - 3 + look.y(), 10, 6, 3), glow);
    }
    if (k.mouth == Mouth::Talk || k.mouth == Mouth::Open || k.mouth == Mouth::Grin) {
        const qreal heights[] = {3, 6, 4, 7, 3};
        for (int i = 0; i < 5; ++i)
            fillPlain(p, rounded(42 + i * 4.5, 51 - heights[i] / 2, 3, heights[i], 1.5), glow);
    } else {
        QPainterPath smile;
        smile.moveTo(44, 49);
        smile.quadTo(53, 55, 62, 49);
        strokePath(p, smile, 2.6, glow);
    }
    f.ownEyes = true;
    f.ownMouth = true;
    f.cheeks = false;
    return f;
}

void drawHat(QPainter& p, Hat hat, const Face& f, const Look& k) {
    p.save();
    p.translate(f.top);
    p.rotate(f.hatTilt);
    const qreal s = f.headWidth / 40.0;
    p.scale(s, s);
    const qreal line = kLine / s;
    const QColor dark(74, 66, 108);
    QPointF ornamentOffset = f.tallEars ? QPointF(0, -2) : QPointF(13, 2);
    if (!f.ornament.isNull()) {
        ornamentOffset = QTransform().rotate(-f.hatTilt).map(f.ornament - f.top) / s;
    }
    switch (hat) {
    case Hat::None:
        break;
    case Hat::TopHat: {
        const QPainterPath crown = rounded(-12, -26, 24, 25, 3);
        fillOutlined(p, crown, dark, line);
        fillPlain(p, rounded(-12, -9, 24, 5.5, 0), k.accent);
        strokePath(p, crown, line);
        fillOutlined(p, rounded(-20, -3, 40, 6, 3), dark, line);
        break;
    }
    case Hat::PartyHat: {
        QPainterPath cone;
        cone.moveTo(-14, 0);
        cone.lineTo(0, -28);
        cone.lineTo(14, 0);
        cone.quadTo(0, 4, -14, 0);
        fillPlain(p, cone, k.accent);
        p.save();
        p.setClipPath(cone);
        for (qreal y : {-21.0, -11.0, -1.0})
            fillPlain(p, polygon({{-20, y + 6}, {20, y - 6}, {20, y - 1}, {-20, y + 11}}),
                      QColor(255, 255, 255, 200));
        p.restore();
        strokePath(p, cone, line);
        fillOutlined(p, circle({0, -29}, 4), kGold, line);
        break;
    }
    case Hat::Crown: {
        const QPainterPath crown =
            polygon({{-16, 1}, {-19, -20}, {-9, -10}, {0, -25}, {9, -10}, {19, -20}, {16, 1}});
        fillOutlined(p, crown, kGold, line);
        fillPlain(p, circle({0, -6}, 3.2), QColor(230, 80, 110));
        fillPlain(p, circle({-9, -4}, 2.2), QColor(90, 160, 240));
        fillPlain(p, circle({9, -4}, 2.2), QColor(90, 200, 140));
        break;
    }
    case Hat::Beanie: {
        QPainterPath dome;
        dome.moveTo(-18, 0);
        dome.cubicTo(-18, -26, 18, -26, 18, 0);
        dome.closeSubpath();
        fillOutlined(p, circle({0, -20}, 5.5), kWhite, line);
        fillOutlined(p, dome, k.accent, line);
        for (qreal x : {-8.0, 0.0, 8.0})
            strokeLine(p, {x * 0.9, -15}, {x, -4}, line * 0.5, mix(k.accent, kInk, 0.3));
        fillOutlined(p, rounded(-20, -5, 40, 8, 4), mix(k.accent, kWhite, 0.4), line);
        break;
    }
    case Hat::Cap: {
        QPainterPath dome;
        dome.moveTo(-17, 0);
        dome.cubicTo(-17, -24, 17, -24, 17, 0);
        dome.closeSubpath();
        QPainterPath brim;
        brim.moveTo(8, -3);
        brim.quadTo(28, -8, 32, 0);
        brim.quadTo(22, 4, 8, 2);
        brim.closeSubpath();
        fillOutlined(p, brim, mix(k.accent, kInk, 0.2), line);
        fillOutlined(p, dome, k.accent, line);
        fillOutlined(p, circle({0, -18}, 2.5), kWhite, line * 0.6);
        break;
    }
    case Hat::Bow: {
        p.translate(ornamentOffset);
        QPainterPath left;
        left.moveTo(0, 0);
        left.cubicTo(-8, -11, -17, -6, -15, 1);
        left.cubicTo(-13, 8, -6, 6, 0, 0);
        QPainterPath right = QTransform::fromScale(-1, 1).map(left);
        fillOutlined(p, left, k.accent, line);
        fillOutlined(p, right, k.accent, line);
        fillOutlined(p, circle({0, 0}, 3.6), mix(k.accent, kInk, 0.15), line);
        break;
    }
    case Hat::Flower: {
        p.translate(ornamentOffset);
        for (int i = 0; i < 5; ++i) {
            const qreal a = qDegreesToRadians(i * 72.0 - 90);
            fillOutlined(p, circle({qCos(a) * 6.5, qSin(a) * 6.5}, 5), mix(k.accent, kWhite, 0.5),
                         line * 0.8);
        }
        fillOutlined(p, circle({0, 0}, 4), kGold, line * 0.8);
        break;
    }
    }
    p.restore();
}

void drawExtra(QPainter& p, Extra extra, const Face& f, const Look& k) {
    if (extra == Extra::Scarf && f.neckWidth <= 0)
        extra = Extra::BowTie;
    if (extra == Extra::BowTie && f.neck.isNull())
        return;
    switch (extra) {
    case Extra::None:
        break;
    case Extra::Glasses: {
        if (f.eyes.size() != 2 || f.ownEyes)
            return;
        const qreal r = f.eyeSize * 1.5;
        const QPointF a = f.eyes[0];
        const QPointF b = f.eyes[1];
        QPainterPath bridge;
        bridge.moveTo(a + QPointF(r * 0.95, -r * 0.2));
        bridge.quadTo((a + b) / 2 + QPointF(0, -r * 0.6), b + QPointF(-r * 0.95, -r * 0.2));
        strokePath(p, bridge, kLine * 0.8);
        for (QPointF c : {a, b}) {
            p.setPen(inkPen(kLine * 0.8));
            p.setBrush(QColor(200, 230, 255, 70));
            p.drawPath(circle(c, r));
        }
        break;
    }
    case Extra::BowTie: {
        const QPointF n = f.neck;
        const QColor c = mix(k.accent, kInk, 0.1);
        fillOutlined(p, polygon({n, n + QPointF(-11, -6), n + QPointF(-11, 6)}), c, kLine * 0.8);
        fillOutlined(p, polygon({n, n + QPointF(11, -6), n + QPointF(11, 6)}), c, kLine * 0.8);
        fillOutlined(p, rounded(n.x() - 3.5, n.y() - 3.5, 7, 7, 2.5), c, kLine * 0.8);
        break;
    }
    case Extra::Scarf: {
        const QPointF n = f.neck;
        const qreal w = f.neckWidth;
        QTransform t;
        t.translate(n.x() - w * 0.28, n.y() + 2);
        t.rotate(12);
        const QPainterPath end = t.map(rounded(-4.5, 0, 9, 16, 3));
        fillOutlined(p, end, k.accent, kLine * 0.8);
        const QPainterPath band = rounded(n.x() - w / 2, n.y() - 5, w, 10, 5);
        fillOutlined(p, band, k.accent, kLine * 0.8);
        p.save();
        p.setClipPath(band.united(end));
        for (int i = 0; i < 4; ++i) {
            const qreal x = n.x() - w / 2 + 5 + i * w / 4;
            strokeLine(p, {x, n.y() - 6}, {x + 3, n.y() + 6}, 2.2, QColor(255, 255, 255, 150));
        }
        strokeLine(p, end.boundingRect().bottomLeft() + QPointF(1, -5),
                   end.boundingRect().bottomRight() + QPointF(-1, -5), 2.2,
                   QColor(255, 255, 255, 150));
        p.restore();
        break;
    }
    }
}

// How far a hat reaches above the top of the head, in the hat's own units.
qreal hatHeight(Hat hat) {
    switch (hat) {
    case Hat::TopHat:
        return 30;
    case Hat::PartyHat:
        return 35;
    case Hat::Crown:
        return 27;
    case Hat::Beanie:
        return 28;
    case Hat::Cap:
        return 22;
    case Hat::None:
    case Hat::Bow:
    case Hat::Flower:
        break;
    }
    return 0;
}

Hat hatFor(const Look& k, const Face& f) {
    if (f.tallEars && k.hat != Hat::Bow && k.hat != Hat::Flower && k.hat != Hat::None)
        return Hat::Bow;
    return k.hat;
}

Face drawSpecies(QPainter& p, const Look& k);
void drawFeatures(QPainter& p, const Look& k, const Face& f);

void paintCharacter(QPainter& p, int index) {
    const Look k = lookFor(index);
    // A tall hat on a tall head would leave the picture: find out where the
    // head is, then shrink the whole character toward its feet to make room.
    Face f;
    {
        QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter dry(&scratch);
        f = drawSpecies(dry, k);
    }
    const qreal reach = f.top.y() - hatHeight(hatFor(k, f)) * f.headWidth / 40.0 - 2.5;
    if (reach < 0) {
        const qreal shrink = 96.0 / (96.0 - reach);
        p.translate(50, 96);
        p.scale(shrink, shrink);
        p.translate(-50, -96);
    }
    const bool floats = k.species == Species::Fish || k.species == Species::Ghost;
    fillPlain(p, ellipse(51, 96, floats ? 20 : 30, 3), withAlpha(kInk, floats ? 28 : 45));
    p.save();
    f = drawSpecies(p, k);
    drawFeatures(p, k, f);
    p.restore();
}

Face drawSpecies(QPainter& p, const Look& k) {
    Face f;
    switch (k.species) {
    case Species::Blob:
        f = drawBlob(p, k);
        break;
    case Species::Cat:
        f = drawCat(p, k);
        break;
    case Species::Bear:
        f = drawBear(p, k);
        break;
    case Species::Robot:
        f = drawRobot(p, k);
        break;
    case Species::Owl:
        f = drawOwl(p, k);
        break;
    case Species::Monster:
        f = drawMonster(p, k);
        break;
    case Species::Fish:
        f = drawFish(p, k);
        break;
    case Species::Bird:
        f = drawBird(p, k);
        break;
    case Species::Frog:
        f = drawFrog(p, k);
        break;
    case Species::Bunny:
        f = drawBunny(p, k);
        break;
    case Species::Ghost:
        f = drawGhost(p, k);
        break;
    case Species::Penguin:
        f = drawPenguin(p, k);
        break;
    case Species::Dog:
        f = drawDog(p, k);
        break;
    case Species::Octopus:
        f = drawOctopus(p, k);
        break;
    case Species::Mouse:
        f = drawMouse(p, k);
        break;
    }
    return f;
}

void drawFeatures(QPainter& p, const Look& k, const Face& f) {
    if (k.cheeks && f.cheeks && f.eyes.size() >= 2) {
        const qreal r = f.eyeSize;
        fillPlain(
            p,
            ellipse(f.eyes.front().x() - r * 0.5, f.eyes.front().y() + r * 1.6, r * 0.8, r * 0.5),
            kBlush);
        fillPlain(
            p, ellipse(f.eyes.back().x() + r * 0.7, f.eyes.back().y() + r * 1.6, r * 0.8, r * 0.5),
            kBlush);
    }
    if (!f.ownEyes) {
        Eyes style = k.eyes;
        if (f.eyes.size() == 1 && (style == Eyes::Wink || style == Eyes::Happy))
            style = Eyes::Round;
        for (std::size_t i = 0; i < f.eyes.size(); ++i)
            drawEye(p, f.eyes[i], f.eyeSize, style, i + 1 == f.eyes.size() && i > 0, k.iris);
    }
    if (!f.ownMouth) {
        if (f.teeth) {
            const QPointF m = f.mouth;
            fillOutlined(p, rounded(m.x() - 3.6, m.y() + 1, 3.6, 5.5, 1), kWhite, 1.4);
            fillOutlined(p, rounded(m.x(), m.y() + 1, 3.6, 5.5, 1), kWhite, 1.4);
        }
        drawMouth(p, f.mouth, f.mouthWidth, f.teeth ? Mouth::Smile : k.mouth);
    }
    drawExtra(p, k.extra, f, k);
    drawHat(p, hatFor(k, f), f, k);
}
} // namespace

int characterCount() {
    return kCharacterCount;
}

QPixmap character(int index, QSize size, qreal dpr) {
    index = ((index % kCharacterCount) + kCharacterCount) % kCharacterCount;
    return cachedPicture(QStringLiteral("character%1").arg(index), size, dpr,
                         [index](QPainter& p, QSizeF s) {
                             fitBox(p, s, 100, true);
                             paintCharacter(p, index);
                         });
}

} // namespace Artwork
