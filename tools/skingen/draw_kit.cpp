#include "draw_kit.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

namespace skin {

uint32_t Noise::next() {
  // xorshift32: tiny, fast and identical everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

QImage blankImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

namespace {

int clampByte(double v) { return std::clamp(int(std::lround(v)), 0, 255); }

// One line of streaks: white noise smoothed by a running mean, so the grain
// reads as long hairlines rather than sand.
std::vector<double> streakLine(Noise& noise, int length, int smooth) {
  std::vector<double> raw(static_cast<size_t>(length + smooth));
  for (double& v : raw) v = noise.signedUnit();
  std::vector<double> line(static_cast<size_t>(length));
  double sum = 0;
  for (int i = 0; i < smooth; ++i) sum += raw[size_t(i)];
  for (int x = 0; x < length; ++x) {
    line[size_t(x)] = sum / smooth * std::sqrt(double(smooth)) * 0.5;
    sum += raw[size_t(x + smooth)] - raw[size_t(x)];
  }
  return line;
}

}  // namespace

void brushedMetal(QImage& image, const QRect& rect, const QColor& base, uint32_t seed, double grain) {
  Noise noise(seed);
  const QRect area = rect.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const double rowShade = noise.signedUnit() * grain * 0.35;
    const std::vector<double> streaks = streakLine(noise, area.width(), 19);
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      const double d = rowShade + streaks[size_t(x - area.left())] * grain + noise.signedUnit() * 1.2;
      line[x] = qRgb(clampByte(base.red() + d), clampByte(base.green() + d), clampByte(base.blue() + d * 1.1));
    }
  }
}

void verticalBrushedMetal(QImage& image, const QRect& rect, const QColor& base, uint32_t seed) {
  Noise noise(seed);
  const QRect area = rect.intersected(image.rect());
  const std::vector<double> streaks = streakLine(noise, area.width(), 2);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      const double d = streaks[size_t(x - area.left())] * 5.0;
      line[x] = qRgb(clampByte(base.red() + d), clampByte(base.green() + d), clampByte(base.blue() + d * 1.1));
    }
  }
}

void bevel(QPainter& p, const QRect& rect, bool raised, int width, int strength) {
  const int a = 255 * strength / 100;
  const QColor light(255, 255, 255, raised ? a * 45 / 100 : a * 22 / 100);
  const QColor dark(0, 0, 0, raised ? a * 60 / 100 : a * 75 / 100);
  const QColor& topLeft = raised ? light : dark;
  const QColor& bottomRight = raised ? dark : light;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < width; ++i) {
    const QRect r = rect.adjusted(i, i, -i, -i);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    p.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 1), topLeft);
    p.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), bottomRight);
    p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), bottomRight);
  }
  p.restore();
}

void lcdWindow(QPainter& p, const QRect& inside, int lip) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  // A smoked-glass lip lit from the top-left, darkening towards the glass.
  const QRect outer = inside.adjusted(-lip, -lip, lip, lip);
  p.fillRect(outer, QColor(20, 20, 22));
  bevel(p, outer, false, 1, 100);
  for (int i = lip - 1; i >= 1; --i) p.fillRect(inside.adjusted(-i, -i, i, i), QColor(4 + 3 * i, 4 + 3 * i, 5 + 3 * i));
  p.fillRect(inside, Qt::black);
  p.restore();
}

void cutOut(QPainter& p, const QRect& rect) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRect hole = rect.adjusted(-1, -1, 1, 1);
  p.fillRect(QRect(hole.left(), hole.top(), hole.width(), 1), ink::shadow);
  p.fillRect(QRect(hole.left(), hole.top(), 1, hole.height()), ink::shadow);
  p.fillRect(QRect(hole.left(), hole.bottom(), hole.width(), 1), QColor(10, 10, 12));
  p.fillRect(QRect(hole.right(), hole.top(), 1, hole.height()), QColor(10, 10, 12));
  // The panel's cut edge catches the light below and right of the hole.
  p.fillRect(QRect(hole.left() + 1, hole.bottom() + 1, hole.width(), 1), QColor(255, 255, 255, 40));
  p.fillRect(QRect(hole.right() + 1, hole.top() + 1, 1, hole.height()), QColor(255, 255, 255, 40));
  p.restore();
}

void screw(QPainter& p, double cx, double cy, double radius, int angleDeg) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  // Countersink shadow, then the domed head lit from the top-left.
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawEllipse(QPointF(cx + 0.4, cy + 0.4), radius + 1.0, radius + 1.0);
  QRadialGradient head(QPointF(cx - radius * 0.45, cy - radius * 0.45), radius * 1.8);
  head.setColorAt(0.0, QColor(225, 226, 230));
  head.setColorAt(0.5, QColor(140, 142, 148));
  head.setColorAt(1.0, QColor(60, 61, 66));
  p.setBrush(head);
  p.drawEllipse(QPointF(cx, cy), radius, radius);
  // The cross recess.
  QPen slot(QColor(25, 25, 28), std::max(1.0, radius * 0.32), Qt::SolidLine, Qt::FlatCap);
  p.setPen(slot);
  p.translate(cx, cy);
  p.rotate(angleDeg);
  const double arm = radius * 0.72;
  p.drawLine(QPointF(-arm, 0), QPointF(arm, 0));
  p.drawLine(QPointF(0, -arm), QPointF(0, arm));
  p.restore();
}

void led(QPainter& p, const QRect& rect, const QColor& colour, bool lit) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (lit) {
    p.fillRect(rect, colour);
    // A hot core and a cooler rim make a small LED look lit, not painted.
    const QColor rim = colour.darker(135);
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), rim);
    p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), rim);
    if (rect.width() > 2 && rect.height() > 2)
      p.fillRect(QRect(rect.left() + 1, rect.top() + 1, std::max(1, rect.width() / 2 - 1), 1),
                 QColor(255, 255, 230));
  } else {
    const QColor off(colour.red() / 6 + 14, colour.green() / 6 + 14, colour.blue() / 6 + 14);
    p.fillRect(rect, off);
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), off.lighter(150));
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), off.darker(150));
  }
  p.restore();
}

QFont sansFont(double pixelSize, bool bold, bool italic) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(int(std::lround(pixelSize)));
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
  font.setKerning(false);
  return font;
}

void printText(QPainter& p, const QRectF& rect, int align, const QString& text, const QFont& font,
               const QColor& colour) {
  p.save();
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(font);
  p.setPen(QColor(0, 0, 0, 160));
  p.drawText(rect.translated(0.7, 0.7), align, text);
  p.setPen(colour);
  p.drawText(rect, align, text);
  p.restore();
}

void engraveText(QPainter& p, const QRectF& rect, int align, const QString& text, const QFont& font) {
  p.save();
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(font);
  p.setPen(QColor(255, 255, 255, 150));
  p.drawText(rect.translated(0.6, 0.8), align, text);
  p.setPen(ink::engrave);
  p.drawText(rect, align, text);
  p.restore();
}

}  // namespace skin

#include <QFontDatabase>

namespace skin {

bool loadArtFonts(QString& error) {
  static const char* const kFiles[] = {
      "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf",
      "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
  };
  for (const char* file : kFiles) {
    if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0) {
      error = QStringLiteral("cannot load font %1 (package fonts-liberation2)").arg(QString::fromLatin1(file));
      return false;
    }
  }
  return true;
}

}  // namespace skin
