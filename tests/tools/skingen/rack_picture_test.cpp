// The rack pictures: module tops per layout, every button's up face at its
// place, the power button on the last module, and the generator's command line.
#include "art_table.h"
#include "art_test_app.h"
#include "rack_layout.h"
#include "rack_picture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

const skin::RackLayout& layoutNamed(const std::string& name) {
  for (const skin::RackLayout& l : skin::rackLayouts())
    if (name == l.name) return l;
  throw std::runtime_error("no layout " + name);
}

QImage art(int number) {
  return skin::renderArt(*skin::findArt(std::to_string(number))).convertToFormat(QImage::Format_RGB32);
}

TEST(RackTops, StackTheShownModules) {
  const skin::RackTops all = skin::rackTops(layoutNamed("rack-all"));
  EXPECT_EQ(all.midi, 109);
  EXPECT_EQ(all.wave, 159);
  EXPECT_EQ(all.cd, 270);
  EXPECT_EQ(all.bottom, 400);
  const skin::RackTops cdOnly = skin::rackTops(layoutNamed("rack-cd"));
  EXPECT_EQ(cdOnly.cd, 109);
  EXPECT_EQ(cdOnly.bottom, 239);
  const skin::RackTops waveCd = skin::rackTops(layoutNamed("rack-wave-cd"));
  EXPECT_EQ(waveCd.wave, 109);
  EXPECT_EQ(waveCd.cd, 220);
  EXPECT_EQ(waveCd.bottom, 350);
  EXPECT_EQ(skin::rackTops(layoutNamed("rack-mixer")).bottom, 109);
  EXPECT_EQ(skin::rackTops(layoutNamed("rack-midi")).bottom, 159);
}

TEST(RackPicture, ShowsEveryButtonsUpFaceAtItsPlace) {
  ensureArtApp();
  const skin::RackLayout& layout = layoutNamed("rack-all");
  const skin::RackTops t = skin::rackTops(layout);
  const QImage rack = skin::rackPicture(layout).convertToFormat(QImage::Format_RGB32);
  for (const skin::ButtonPlace& b : skin::rackButtons()) {
    int top = 0;
    if (b.module == skin::Module::Midi) top = t.midi;
    if (b.module == skin::Module::Wave) top = t.wave;
    if (b.module == skin::Module::Cd) top = t.cd;
    QRect r = b.rect(true).translated(0, top);
    if (b.command == skin::kPowerCommand) r.moveTop(t.bottom - skin::kPowerOffsetFromBottom);
    EXPECT_EQ(rack.copy(r), art(b.upBitmap)) << "button " << b.command;
  }
}

TEST(RackPicture, PutsThePowerButtonOnTheLastModule) {
  ensureArtApp();
  for (const char* name : {"rack-cd", "rack-mixer", "rack-midi"}) {
    const skin::RackLayout& layout = layoutNamed(name);
    const QImage rack = skin::rackPicture(layout).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(rack.copy(8, skin::rackTops(layout).bottom - 25, 28, 15), art(110)) << name;
  }
}

QString skingen() { return QStringLiteral(SKINGEN_PATH); }

int runSkingen(const QStringList& args, QString* err = nullptr) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  process.setProcessEnvironment(env);
  process.start(skingen(), args);
  if (!process.waitForFinished(120000)) return -1;
  if (err) *err = QString::fromLocal8Bit(process.readAllStandardError());
  return process.exitCode();
}

TEST(SkingenCommand, RejectsWrongArguments) {
  ensureArtApp();
  QString err;
  EXPECT_EQ(runSkingen({}, &err), 2);
  EXPECT_TRUE(err.contains(QStringLiteral("usage"))) << err.toStdString();
  EXPECT_EQ(runSkingen({QStringLiteral("a"), QStringLiteral("b")}), 2);
  EXPECT_EQ(runSkingen({QStringLiteral("--rack")}), 2);
}

TEST(SkingenCommand, ReportsAnOutputFolderItCannotCreate) {
  ensureArtApp();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile blocker(QDir(dir.path()).filePath(QStringLiteral("file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  QString err;
  EXPECT_EQ(runSkingen({QDir(blocker.fileName()).filePath(QStringLiteral("art"))}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("cannot create"))) << err.toStdString();
}

TEST(SkingenCommand, WritesTheRackPictures) {
  ensureArtApp();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_EQ(runSkingen({QStringLiteral("--rack"), dir.path()}), 0);
  for (const skin::RackLayout& layout : skin::rackLayouts()) {
    const QImage image(QDir(dir.path()).filePath(QString::fromLatin1(layout.name) + ".png"));
    EXPECT_EQ(image.height(), skin::rackTops(layout).bottom) << layout.name;
  }
}

}  // namespace
