#pragma once
// One GUI application (offscreen) with the art fonts loaded, shared by every
// test of the skin art that paints.
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include "draw_kit.h"

inline void ensureArtApp() {
  static int argc = 1;
  static char name[] = "test_skin_art";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    auto* a = new QGuiApplication(argc, argv);
    QString error;
    EXPECT_TRUE(skin::loadArtFonts(error)) << error.toStdString();
    return a;
  }();
  (void)app;
}

inline double meanLuma(const QImage& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
  return sum / (image.width() * image.height());
}
