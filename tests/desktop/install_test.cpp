// Installs the build into a temporary prefix: the program, the mci tool, the
// desktop entry, the metainfo and the icons land where desktops look, and the
// desktop's own validators accept the two files (skipped when not installed).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

struct Installed : testing::Test {
  static QTemporaryDir* prefix;
  static void SetUpTestSuite() {
    prefix = new QTemporaryDir();
    QProcess install;
    install.start(QUORVIN_CMAKE, {"--install", QUORVIN_BUILD_DIR, "--prefix", prefix->path()});
    install.waitForFinished(120000);
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
  }
  static void TearDownTestSuite() { delete prefix; }
  static QString file(const QString& relative) { return prefix->filePath(relative); }
};
QTemporaryDir* Installed::prefix = nullptr;

int run(const QString& program, const QStringList& args, QString* output) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  p.waitForFinished(60000);
  *output = QString::fromLocal8Bit(p.readAll());
  return p.exitCode();
}

}  // namespace

TEST_F(Installed, EveryFileIsInItsPlace) {
  for (const char* path : {"bin/quorvin", "bin/quorvin-mci", "share/applications/org.quorvin.Quorvin.desktop",
                           "share/metainfo/org.quorvin.Quorvin.metainfo.xml"})
    EXPECT_TRUE(QFileInfo(file(path)).isFile()) << path;
  EXPECT_TRUE(QFileInfo(file("bin/quorvin")).isExecutable());
}

TEST_F(Installed, TheIconIsPaintedAtEachHicolorSize) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString path = file(QString("share/icons/hicolor/%1x%1/apps/org.quorvin.Quorvin.png").arg(size));
    const QImage icon(path);
    ASSERT_FALSE(icon.isNull()) << path.toStdString();
    EXPECT_EQ(icon.size(), QSize(size, size));
    // Drawn, not blank: most of the square is covered by the three units.
    int covered = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) covered += qAlpha(icon.pixel(x, y)) > 128;
    EXPECT_GT(covered, size * size / 2) << size;
  }
}

TEST_F(Installed, TheDesktopValidatorsAcceptTheEntryAndTheMetainfo) {
  const QString desktop_validate = QStandardPaths::findExecutable("desktop-file-validate");
  const QString appstream = QStandardPaths::findExecutable("appstreamcli");
  if (desktop_validate.isEmpty() || appstream.isEmpty())
    GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed (scripts/install-deps install-checks)";
  QString output;
  EXPECT_EQ(run(desktop_validate, {file("share/applications/org.quorvin.Quorvin.desktop")}, &output), 0)
      << output.toStdString();
  EXPECT_TRUE(output.trimmed().isEmpty()) << output.toStdString();  // no warnings either
  EXPECT_EQ(run(appstream, {"validate", "--no-net", file("share/metainfo/org.quorvin.Quorvin.metainfo.xml")}, &output),
            0)
      << output.toStdString();
}
