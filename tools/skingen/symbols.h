#pragma once
// The transport and control symbols, as vector shapes fitted into a box, so
// the same play triangle appears on a CD button, a tape button and a face.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace skin {

enum class Symbol {
  Play, Pause, Stop, Eject, Record, PlayPause,
  Previous, Next, Rewind, FastForward,
  Minus, Plus, ArrowUp, ArrowDown, ArrowLeft, ArrowRight,
  TriangleLeft, TriangleRight, Speaker, Power, Minimise, Grip, Note,
};

// The symbol's outline, centred in box and as large as box allows.
QPainterPath symbolPath(Symbol symbol, const QRectF& box);
// Cut into a silver button: dark shape with a light lip below right.
void engraveSymbol(QPainter& p, Symbol symbol, const QRectF& box);
// Printed on a dark face in the label colour.
void printSymbol(QPainter& p, Symbol symbol, const QRectF& box, const QColor& colour);

}  // namespace skin
