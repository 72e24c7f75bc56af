// LoadImageA/LoadBitmapA: a bitmap handle over the shared decoded image.
#include "platform/ui/gdi_internal.h"
#include "platform/ui/resource_lookup.h"

using namespace ui_detail;

namespace {

HBITMAP make_bitmap(const ui_resources::StoredBitmap& stored) {
  if (stored.image.isNull()) return nullptr;
  auto b = std::make_unique<Bitmap>();
  b->image = stored.image;  // pixels shared until someone draws into them
  b->color_table = stored.colors;
  return static_cast<HBITMAP>(add_object(std::move(b)));
}

}  // namespace

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) { return make_bitmap(ui_resources::find_stored_bitmap(name)); }

HANDLE LoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int, int, UINT flags) {
  if (!name) return nullptr;
  switch (type) {
    case IMAGE_BITMAP:
      if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name)) return nullptr;
        QImage img(QString::fromLocal8Bit(name));
        ui_resources::StoredBitmap stored{img.convertToFormat(QImage::Format_RGB32), img.colorTable()};
        return make_bitmap(stored);
      }
      return LoadBitmapA(inst, name);
    case IMAGE_CURSOR:
      return LoadCursorA(inst, name);
    case IMAGE_ICON:
      return LoadIconA(inst, name);
    default:
      return nullptr;
  }
}
