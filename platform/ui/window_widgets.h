#pragma once
// The Qt widgets that carry windows on screen. A top-level window shows its
// back buffer; child windows paint nothing themselves (their pixels live in
// the top-level buffer, as a Win32 child without clipping would) and turn Qt
// input into window messages.
#include <QAbstractButton>
#include <QWidget>

#include "platform/ui/ui_internal.h"

namespace ui_detail {

class SurfaceWidget : public QWidget {
 public:
  SurfaceWidget(HWND hwnd, QWidget* parent, bool top_level);
  void start_manual_drag();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  bool event(QEvent* e) override;
  bool focusNextPrevChild(bool next) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void send_mouse(UINT msg, QMouseEvent* e);
  HWND hwnd_;
  bool top_level_;
  bool dragging_ = false;
  QPoint drag_offset_;        // pointer minus window position while dragged by hand
  QPoint last_press_global_;
};

class OwnerDrawButton : public QAbstractButton {
 public:
  OwnerDrawButton(HWND hwnd, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override {}
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  UINT state_bits() const;
  HWND hwnd_;
  bool losing_focus_ = false;
};

// Dropped files (drop_files.cpp): a drag of local files is taken, anything else
// refused; a drop becomes WM_DROPFILES for the window.
void accept_file_drag(QDropEvent* e);
void deliver_file_drop(HWND hwnd, QDropEvent* e);

// Sends a key press or release of a Qt key event to a window as a message.
void send_key(HWND hwnd, QKeyEvent* e, bool down);

}  // namespace ui_detail
