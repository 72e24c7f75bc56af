// Button faces: silver push buttons with engraved symbols or words. The down
// face is the same button pressed in: darker, with the shadow on the lit
// side and its symbol one pixel down and right.
#include "draw_kit.h"
#include "painters.h"
#include "symbols.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <optional>
#include <stdexcept>

namespace skin {
namespace {

enum class Shape { Rect, Round };

struct ButtonLook {
  int up;
  int down;
  Shape shape;
  std::optional<Symbol> symbol;
  double symbolSize;  // pixels; the symbol is centred
  const char* word;   // engraved word, or nullptr
};

constexpr ButtonLook kLooks[] = {
    {144, 145, Shape::Rect, Symbol::Minimise, 8, nullptr},
    {110, 111, Shape::Rect, Symbol::Power, 10, nullptr},
    {150, 151, Shape::Rect, Symbol::Grip, 10, nullptr},
    {152, 153, Shape::Rect, Symbol::Grip, 10, nullptr},
    {154, 155, Shape::Rect, Symbol::Grip, 10, nullptr},
    {264, 265, Shape::Rect, Symbol::Grip, 10, nullptr},
    {164, 165, Shape::Rect, Symbol::Speaker, 10, nullptr},
    {156, 160, Shape::Rect, Symbol::ArrowUp, 10, nullptr},
    {157, 161, Shape::Rect, Symbol::ArrowDown, 10, nullptr},
    {158, 162, Shape::Rect, Symbol::ArrowLeft, 10, nullptr},
    {159, 163, Shape::Rect, Symbol::ArrowRight, 10, nullptr},
    {167, 168, Shape::Rect, Symbol::TriangleLeft, 8, nullptr},
    {169, 170, Shape::Rect, Symbol::TriangleRight, 8, nullptr},
    {216, 217, Shape::Rect, Symbol::Stop, 9, nullptr},
    {218, 219, Shape::Rect, Symbol::Pause, 10, nullptr},
    {220, 221, Shape::Rect, Symbol::Play, 11, nullptr},
    {222, 223, Shape::Rect, Symbol::Rewind, 8, nullptr},
    {224, 225, Shape::Rect, Symbol::FastForward, 8, nullptr},
    {226, 227, Shape::Rect, Symbol::Minus, 8, nullptr},
    {228, 229, Shape::Rect, Symbol::Plus, 8, nullptr},
    {171, 172, Shape::Rect, Symbol::Record, 8, nullptr},
    {173, 174, Shape::Rect, Symbol::Stop, 7, nullptr},
    {175, 176, Shape::Rect, Symbol::PlayPause, 8, nullptr},
    {177, 178, Shape::Rect, Symbol::Rewind, 7, nullptr},
    {179, 180, Shape::Rect, Symbol::FastForward, 7, nullptr},
    {181, 182, Shape::Rect, Symbol::Minus, 7, nullptr},
    {183, 184, Shape::Rect, Symbol::Plus, 7, nullptr},
    {299, 300, Shape::Rect, Symbol::Grip, 9, nullptr},
    {301, 302, Shape::Rect, Symbol::Grip, 9, nullptr},
    {253, 254, Shape::Rect, Symbol::Record, 6, "ONE TOUCH"},
    {102, 103, Shape::Rect, Symbol::Play, 12, nullptr},
    {104, 105, Shape::Rect, Symbol::Stop, 10, nullptr},
    {106, 107, Shape::Rect, Symbol::Pause, 12, nullptr},
    {108, 109, Shape::Rect, Symbol::Eject, 10, nullptr},
    {113, 114, Shape::Round, std::nullopt, 0, nullptr},
    {130, 131, Shape::Rect, std::nullopt, 0, "Edit"},
    {132, 133, Shape::Rect, std::nullopt, 0, "Program"},
    {135, 134, Shape::Rect, std::nullopt, 0, "Random"},
    {136, 137, Shape::Rect, std::nullopt, 0, "Repeat"},
};

// The lit record lamp of the record button while deck 2 records.
constexpr int kRecordingFace = 260;

const ButtonLook& lookFor(int bitmap, bool& down) {
  const int wanted = bitmap == kRecordingFace ? 171 : bitmap;
  for (const ButtonLook& look : kLooks) {
    if (look.up == wanted || look.down == wanted) {
      down = look.down == wanted;
      return look;
    }
  }
  throw std::invalid_argument("no button look for bitmap " + std::to_string(bitmap));
}

void paintRectBody(QImage& image, const ButtonLook& look, bool down) {
  const QRect all = image.rect();
  const QRect body = all.adjusted(1, 1, -1, -1);
  brushedMetal(image, body, down ? ink::buttonMetal.darker(128) : ink::buttonMetal, uint32_t(look.up), 5.0);
  QPainter p(&image);
  // A soft vertical sheen: the top catches the light, the bottom falls off.
  QLinearGradient sheen(0, body.top(), 0, body.bottom());
  sheen.setColorAt(0.0, QColor(255, 255, 255, down ? 0 : 55));
  sheen.setColorAt(0.45, QColor(255, 255, 255, 0));
  sheen.setColorAt(1.0, QColor(0, 0, 0, down ? 30 : 60));
  p.fillRect(body, sheen);
  // The button's own edge, then its bevel: raised, or pressed in.
  p.setPen(QColor(12, 12, 14));
  p.drawRect(all.adjusted(0, 0, -1, -1));
  if (down) {
    p.fillRect(QRect(body.left(), body.top(), body.width(), 2), QColor(0, 0, 0, 90));
    p.fillRect(QRect(body.left(), body.top() + 2, 2, body.height() - 2), QColor(0, 0, 0, 70));
    p.fillRect(QRect(body.left() + 2, body.bottom(), body.width() - 2, 1), QColor(255, 255, 255, 40));
  } else {
    bevel(p, body, true, 1, 100);
  }
}

void paintRoundBody(QImage& image, bool down) {
  image.fill(ink::buttonWell);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  const double r = (std::min(image.width(), image.height()) - 2) / 2.0;
  const QPointF c = QPointF(image.width() / 2.0, image.height() / 2.0) + (down ? QPointF(0.5, 0.5) : QPointF());
  // The dark ring of the hole, then the button cap lit from the top-left.
  p.setBrush(QColor(6, 6, 7));
  p.drawEllipse(c, r + 0.8, r + 0.8);
  QRadialGradient cap(c - QPointF(r * 0.5, r * 0.55), r * 1.9);
  cap.setColorAt(0.0, down ? QColor(175, 177, 182) : QColor(235, 236, 240));
  cap.setColorAt(0.55, down ? QColor(110, 112, 117) : QColor(160, 162, 167));
  cap.setColorAt(1.0, down ? QColor(52, 53, 57) : QColor(78, 80, 85));
  p.setBrush(cap);
  p.drawEllipse(c, r - 0.3, r - 0.3);
  // A concentric machining ring reads as a real turned cap.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, down ? 50 : 35), 0.8));
  p.drawEllipse(c, r * 0.55, r * 0.55);
}

void decorate(QImage& image, const ButtonLook& look, bool down, bool recording) {
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF shift = down ? QPointF(1, 1) : QPointF(0, 0);
  const QRectF face = QRectF(image.rect()).translated(shift);
  const QPointF centre = face.center();

  if (look.word && look.symbol) {
    // Record dot and word side by side (the one-touch recording key).
    const QFont font = sansFont(8, true);
    const double dot = look.symbolSize;
    const QRectF dotBox(face.left() + 6, centre.y() - dot / 2, dot, dot);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 10, 8));
    p.drawEllipse(dotBox.adjusted(-0.5, -0.5, 0.5, 0.5));
    p.setBrush(QColor(225, 40, 30));
    p.drawEllipse(dotBox.adjusted(0.5, 0.5, -0.5, -0.5));
    engraveText(p, face.adjusted(dot + 10, 0, -3, 0), Qt::AlignCenter, QString::fromLatin1(look.word), font);
    return;
  }
  if (look.word) {
    engraveText(p, face.adjusted(0, 0, 0, -1), Qt::AlignCenter, QString::fromLatin1(look.word), sansFont(10, true));
    return;
  }
  if (!look.symbol) return;
  const double s = look.symbolSize;
  const double w = *look.symbol == Symbol::PlayPause ? s * 2 : s;
  const QRectF box(centre.x() - w / 2, centre.y() - s / 2, w, s);
  if (*look.symbol == Symbol::Record) {
    // The record key's dot is red; it glows while the deck records.
    const QPainterPath dot = symbolPath(Symbol::Record, box);
    p.setPen(Qt::NoPen);
    if (recording) {
      QRadialGradient glow(centre, s);
      glow.setColorAt(0.0, QColor(255, 90, 60, 200));
      glow.setColorAt(1.0, QColor(255, 40, 20, 0));
      p.setBrush(glow);
      p.drawEllipse(centre, s, s * 0.9);
    }
    p.setBrush(QColor(255, 255, 255, 140));
    p.drawPath(dot.translated(0.6, 0.8));
    p.setBrush(QColor(90, 8, 6));
    p.drawPath(dot);
    p.setBrush(recording ? QColor(255, 70, 45) : QColor(200, 30, 22));
    p.drawPath(symbolPath(Symbol::Record, box.adjusted(1, 1, -1, -1)));
    if (recording) {
      p.setBrush(QColor(255, 210, 190));
      p.drawEllipse(centre - QPointF(1, 1), 1.0, 1.0);
    }
    return;
  }
  engraveSymbol(p, *look.symbol, box);
}

}  // namespace

QImage paintButton(int width, int height, int bitmap) {
  bool down = false;
  const ButtonLook& look = lookFor(bitmap, down);
  QImage image = blankImage(width, height);
  if (look.shape == Shape::Round) {
    paintRoundBody(image, down);
    return image;
  }
  paintRectBody(image, look, down);
  decorate(image, look, down, bitmap == kRecordingFace);
  return image;
}

}  // namespace skin
