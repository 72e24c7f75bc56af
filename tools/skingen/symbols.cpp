#include "symbols.h"

#include "draw_kit.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace skin {
namespace {

QPainterPath polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

QPainterPath rightTriangle(double x, double cy, double w, double h) {
  return polygon({{x, cy - h / 2}, {x + w, cy}, {x, cy + h / 2}});
}
QPainterPath leftTriangle(double x, double cy, double w, double h) {
  return polygon({{x + w, cy - h / 2}, {x, cy}, {x + w, cy + h / 2}});
}
QPainterPath bar(double x, double y, double w, double h) {
  QPainterPath path;
  path.addRect(QRectF(x, y, w, h));
  return path;
}

}  // namespace

QPainterPath symbolPath(Symbol symbol, const QRectF& box) {
  const double s = std::min(box.width(), box.height());
  const double cx = box.center().x();
  const double cy = box.center().y();
  const double h = s;          // triangle height
  const double w = s * 0.85;   // triangle width
  QPainterPath path;
  switch (symbol) {
    case Symbol::Play:
      return rightTriangle(cx - w * 0.42, cy, w, h);
    case Symbol::Pause: {
      const double bw = std::max(2.0, std::round(s * 0.3));
      path.addPath(bar(std::round(cx - bw - s * 0.12), cy - h / 2, bw, h));
      path.addPath(bar(std::round(cx + s * 0.12), cy - h / 2, bw, h));
      return path;
    }
    case Symbol::Stop: {
      const double q = std::round(s * 0.84);
      return bar(std::round(cx - q / 2), std::round(cy - q / 2), q, q);
    }
    case Symbol::Eject: {
      const double tw = s * 1.15, th = s * 0.55;
      path.addPath(polygon({{cx - tw / 2, cy + s * 0.12}, {cx, cy - th - s * 0.12 + 0.5}, {cx + tw / 2, cy + s * 0.12}}));
      path.addPath(bar(cx - tw / 2, cy + s * 0.27, tw, std::max(2.0, s * 0.2)));
      return path;
    }
    case Symbol::Record:
      path.addEllipse(QPointF(cx, cy), s * 0.42, s * 0.42);
      return path;
    case Symbol::PlayPause: {
      // The one wide symbol: it fills the box's width, not a square.
      const double bh = box.height(), bwid = box.width();
      const double bw = std::max(2.0, std::round(bwid * 0.13));
      const double barsLeft = box.right() - 3 * bw;
      path.addPath(rightTriangle(box.left(), cy, barsLeft - box.left() - bw * 1.2, bh));
      path.addPath(bar(std::round(barsLeft), cy - bh / 2, bw, bh));
      path.addPath(bar(std::round(barsLeft) + 2 * bw, cy - bh / 2, bw, bh));
      return path;
    }
    case Symbol::Previous: {
      const double bw = std::max(1.5, s * 0.18);
      path.addPath(bar(cx - w * 0.6, cy - h / 2, bw, h));
      path.addPath(leftTriangle(cx - w * 0.6 + bw, cy, w, h));
      return path;
    }
    case Symbol::Next: {
      const double bw = std::max(1.5, s * 0.18);
      path.addPath(rightTriangle(cx + w * 0.6 - bw - w, cy, w, h));
      path.addPath(bar(cx + w * 0.6 - bw, cy - h / 2, bw, h));
      return path;
    }
    case Symbol::Rewind:
      path.addPath(leftTriangle(cx - w * 0.75, cy, w * 0.75, h));
      path.addPath(leftTriangle(cx, cy, w * 0.75, h));
      return path;
    case Symbol::FastForward:
      path.addPath(rightTriangle(cx - w * 0.75, cy, w * 0.75, h));
      path.addPath(rightTriangle(cx, cy, w * 0.75, h));
      return path;
    case Symbol::Minus: {
      const double t = std::max(2.0, std::round(s * 0.22));
      return bar(cx - s * 0.45, std::round(cy - t / 2), s * 0.9, t);
    }
    case Symbol::Plus: {
      const double t = std::max(2.0, std::round(s * 0.22));
      const double a = s * 0.45, x0 = std::round(cx - t / 2), y0 = std::round(cy - t / 2);
      return polygon({{x0, cy - a}, {x0 + t, cy - a}, {x0 + t, y0}, {cx + a, y0}, {cx + a, y0 + t}, {x0 + t, y0 + t},
                      {x0 + t, cy + a}, {x0, cy + a}, {x0, y0 + t}, {cx - a, y0 + t}, {cx - a, y0}, {x0, y0}});
    }
    case Symbol::ArrowUp:
      return polygon({{cx, cy - h / 2}, {cx + w / 2, cy}, {cx + w * 0.18, cy}, {cx + w * 0.18, cy + h / 2},
                      {cx - w * 0.18, cy + h / 2}, {cx - w * 0.18, cy}, {cx - w / 2, cy}});
    case Symbol::ArrowDown:
      return polygon({{cx, cy + h / 2}, {cx + w / 2, cy}, {cx + w * 0.18, cy}, {cx + w * 0.18, cy - h / 2},
                      {cx - w * 0.18, cy - h / 2}, {cx - w * 0.18, cy}, {cx - w / 2, cy}});
    case Symbol::ArrowLeft:
      return polygon({{cx - h / 2, cy}, {cx, cy - w / 2}, {cx, cy - w * 0.18}, {cx + h / 2, cy - w * 0.18},
                      {cx + h / 2, cy + w * 0.18}, {cx, cy + w * 0.18}, {cx, cy + w / 2}});
    case Symbol::ArrowRight:
      return polygon({{cx + h / 2, cy}, {cx, cy - w / 2}, {cx, cy - w * 0.18}, {cx - h / 2, cy - w * 0.18},
                      {cx - h / 2, cy + w * 0.18}, {cx, cy + w * 0.18}, {cx, cy + w / 2}});
    case Symbol::TriangleLeft:
      return leftTriangle(cx - w * 0.45, cy, w * 0.85, h * 0.9);
    case Symbol::TriangleRight:
      return rightTriangle(cx - w * 0.4, cy, w * 0.85, h * 0.9);
    case Symbol::Speaker:
      path.addPath(polygon({{cx - s * 0.55, cy - s * 0.18}, {cx - s * 0.3, cy - s * 0.18}, {cx, cy - s * 0.48},
                            {cx, cy + s * 0.48}, {cx - s * 0.3, cy + s * 0.18}, {cx - s * 0.55, cy + s * 0.18}}));
      path.addPath(bar(cx + s * 0.18, cy - s * 0.3, std::max(1.2, s * 0.1), s * 0.6));
      path.addPath(bar(cx + s * 0.38, cy - s * 0.45, std::max(1.2, s * 0.1), s * 0.9));
      return path;
    case Symbol::Power: {
      QPainterPath ring;
      const double r = s * 0.45, t = std::max(1.4, s * 0.16);
      ring.addEllipse(QPointF(cx, cy), r, r);
      QPainterPath inner;
      inner.addEllipse(QPointF(cx, cy), r - t, r - t);
      ring = ring.subtracted(inner);
      ring = ring.subtracted(bar(cx - t * 1.6, cy - r - 1, t * 3.2, r));
      ring.addPath(bar(cx - t / 2, cy - r - 0.5, t, r));
      return ring.simplified();
    }
    case Symbol::Minimise:
      return bar(cx - s * 0.45, cy + s * 0.2, s * 0.9, std::max(2.0, s * 0.22));
    case Symbol::Note: {
      // A pair of beamed quavers.
      const double t = std::max(1.2, s * 0.12);
      const double r = s * 0.17;
      const QPointF a(cx - s * 0.28, cy + s * 0.3), b(cx + s * 0.3, cy + s * 0.22);
      QPainterPath heads;
      heads.addEllipse(a, r * 1.25, r);
      heads.addEllipse(b, r * 1.25, r);
      path.addPath(heads);
      path.addPath(bar(a.x() + r * 1.25 - t, cy - s * 0.42, t, a.y() - (cy - s * 0.42)));
      path.addPath(bar(b.x() + r * 1.25 - t, cy - s * 0.5, t, b.y() - (cy - s * 0.5)));
      path.addPath(polygon({{a.x() + r * 1.25 - t, cy - s * 0.42}, {b.x() + r * 1.25, cy - s * 0.5},
                            {b.x() + r * 1.25, cy - s * 0.5 + s * 0.2}, {a.x() + r * 1.25 - t, cy - s * 0.42 + s * 0.2}}));
      return path.simplified();
    }
    case Symbol::Grip:
      path.addPath(bar(cx - s * 0.5, cy - 2, s, 1));
      path.addPath(bar(cx - s * 0.5, cy + 1, s, 1));
      return path;
  }
  return path;
}

void engraveSymbol(QPainter& p, Symbol symbol, const QRectF& box) {
  const QPainterPath path = symbolPath(symbol, box);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 170));
  p.drawPath(path.translated(0.7, 0.9));
  p.setBrush(ink::engrave);
  p.drawPath(path);
  p.restore();
}

void printSymbol(QPainter& p, Symbol symbol, const QRectF& box, const QColor& colour) {
  const QPainterPath path = symbolPath(symbol, box);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 170));
  p.drawPath(path.translated(0.7, 0.7));
  p.setBrush(colour);
  p.drawPath(path);
  p.restore();
}

}  // namespace skin
