// Installs the built program into a staging root, as a package build does, and checks what a
// desktop needs from it: the program folder with the files the program looks for beside
// itself, the command on the PATH, a valid menu entry with its icon, and valid AppStream data.

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <QXmlStreamReader>

#include <filesystem>
#include <memory>

#include "filelist/SampleFiles.h"
#include "filelist/Scramble.h"
#include "tests/acceptance/ProcessRun.h"
#include "tests/support/TempHome.h"

namespace quillane::test {
namespace {

const QString kAppId = QStringLiteral("example.kelvardy.Quillane");
const QString kBuiltProgramFolder = QStringLiteral(QUILLANE_BUILT_PROGRAM_DIR);

// The relative paths of every file below a folder, sorted; books are left out because a run
// from the build tree may have saved some beside the samples.
QStringList FilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QStringLiteral(".epub"))) {
            files << QDir(folder).relativeFilePath(path);
        }
    }
    files.sort();
    return files;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The value of one key of the [Desktop Entry] group.
QString DesktopEntryValue(const QString& desktopFile, const QString& key) {
    const QStringList lines = QString::fromUtf8(Bytes(desktopFile)).split(QLatin1Char('\n'));
    bool inMainGroup = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line.trimmed() == QStringLiteral("[Desktop Entry]");
        } else if (inMainGroup && line.startsWith(key + QLatin1Char('='))) {
            return line.mid(key.size() + 1).trimmed();
        }
    }
    return {};
}

// The text of the first element with this name in an XML file.
QString XmlElementText(const QString& xmlFile, const QString& element) {
    QXmlStreamReader xml(Bytes(xmlFile));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element) {
            return xml.readElementText().trimmed();
        }
    }
    return {};
}

class InstalledLayout : public testing::Test {
  protected:
    // One installation serves every case: installing is slow and the cases only read.
    static void SetUpTestSuite() {
        stage_ = std::make_unique<TempDir>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), QString::fromStdString(stage_->path()));
        const ProcessOutcome install =
            RunProcess(QStringLiteral(QUILLANE_CMAKE_COMMAND),
                       {QStringLiteral("--install"), QStringLiteral(QUILLANE_BUILD_DIR),
                        QStringLiteral("--prefix"), QStringLiteral("/usr")},
                       env);
        installed_ = install.finished && install.exitCode == 0;
        installLog_ = install.output.toStdString();
    }
    static void TearDownTestSuite() { stage_.reset(); }

    void SetUp() override { ASSERT_TRUE(installed_) << "cmake --install failed:\n" << installLog_; }

    static QString Prefix() { return QString::fromStdString(stage_->path()) + "/usr"; }
    static QString ProgramFolder() { return Prefix() + "/" QUILLANE_INSTALL_LIBDIR "/quillane"; }
    static QString Command() { return Prefix() + "/" QUILLANE_INSTALL_BINDIR "/quillane"; }
    static QString DataFolder() { return Prefix() + "/" QUILLANE_INSTALL_DATADIR; }
    static QString DesktopFile() { return DataFolder() + "/applications/" + kAppId + ".desktop"; }
    static QString MetainfoFile() { return DataFolder() + "/metainfo/" + kAppId + ".metainfo.xml"; }

    static inline std::unique_ptr<TempDir> stage_;
    static inline bool installed_ = false;
    static inline std::string installLog_;
};

TEST_F(InstalledLayout, ProgramFolderHoldsTheProgramAndTheFilesItLooksForBesideItself) {
    const QFileInfo program(ProgramFolder() + "/quillane");
    ASSERT_TRUE(program.isFile() && !program.isSymLink()) << program.filePath().toStdString();
    EXPECT_TRUE(program.isExecutable());

    // Whatever the build puts beside the built program arrives beside the installed one,
    // byte for byte; nothing else is promised for the optional files.
    for (const QString& name :
         {QStringLiteral("HAND-M.CUR"), QStringLiteral("drag.ico"), QStringLiteral("x/o.cjs")}) {
        const QString built = kBuiltProgramFolder + "/" + name;
        const QString installed = ProgramFolder() + "/" + name;
        EXPECT_EQ(QFileInfo::exists(built), QFileInfo::exists(installed)) << name.toStdString();
        if (QFileInfo::exists(built)) {
            EXPECT_EQ(Bytes(built), Bytes(installed)) << name.toStdString();
        }
    }

    const QStringList builtSamples = FilesBelow(kBuiltProgramFolder + "/Samples");
    EXPECT_FALSE(builtSamples.isEmpty()) << "the build puts no example files beside the program";
    EXPECT_EQ(builtSamples, FilesBelow(ProgramFolder() + "/Samples"));
    for (const QString& name : builtSamples) {
        EXPECT_EQ(Bytes(kBuiltProgramFolder + "/Samples/" + name),
                  Bytes(ProgramFolder() + "/Samples/" + name))
            << name.toStdString();
    }
}

TEST_F(InstalledLayout, CommandIsARelativeLinkToTheProgram) {
    const QFileInfo command(Command());
    ASSERT_TRUE(command.isSymLink()) << Command().toStdString();
    // Relative, so the staged tree works wherever it is unpacked.
    const std::filesystem::path target = std::filesystem::read_symlink(Command().toStdString());
    EXPECT_TRUE(target.is_relative()) << target;
    EXPECT_EQ(command.canonicalFilePath(),
              QFileInfo(ProgramFolder() + "/quillane").canonicalFilePath());
}

TEST_F(InstalledLayout, DesktopEntryIsValidAndNamesTheInstalledCommandAndIcon) {
    ASSERT_TRUE(QFileInfo::exists(DesktopFile())) << DesktopFile().toStdString();
    const ProcessOutcome check =
        RunProcess(QStringLiteral("desktop-file-validate"), {DesktopFile()});
    ASSERT_TRUE(check.started) << "desktop-file-validate is missing (desktop-file-utils)";
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.trimmed().isEmpty()) << check.output.toStdString();

    // The menu starts the command by name from the PATH, so it must be the installed one.
    const QString exec = DesktopEntryValue(DesktopFile(), QStringLiteral("Exec"));
    EXPECT_EQ(exec.section(QLatin1Char(' '), 0, 0), QFileInfo(Command()).fileName());

    const QString icon = DesktopEntryValue(DesktopFile(), QStringLiteral("Icon"));
    EXPECT_EQ(icon, kAppId);
    EXPECT_TRUE(QFileInfo::exists(DataFolder() + "/icons/hicolor/48x48/apps/" + icon + ".png"));
}

TEST_F(InstalledLayout, MetainfoIsValidAndLaunchesTheDesktopEntry) {
    ASSERT_TRUE(QFileInfo::exists(MetainfoFile())) << MetainfoFile().toStdString();
    const ProcessOutcome check = RunProcess(QStringLiteral("appstreamcli"),
                                            {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--no-color"), MetainfoFile()});
    ASSERT_TRUE(check.started) << "appstreamcli is missing (appstream)";
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    // Notes ("I:") and pedantic hints may stand; warnings and errors may not.
    for (const QString& line : check.output.split(QLatin1Char('\n'))) {
        EXPECT_FALSE(line.startsWith(QStringLiteral("W:")) || line.startsWith(QStringLiteral("E:")))
            << line.toStdString();
    }

    EXPECT_EQ(XmlElementText(MetainfoFile(), QStringLiteral("id")), kAppId);
    const QString launchable = XmlElementText(MetainfoFile(), QStringLiteral("launchable"));
    EXPECT_EQ(DataFolder() + "/applications/" + launchable, DesktopFile());
    EXPECT_EQ(XmlElementText(MetainfoFile(), QStringLiteral("binary")),
              QFileInfo(Command()).fileName());
}

TEST_F(InstalledLayout, IconsHaveTheSizeOfTheirFolder) {
    const QString hicolor = DataFolder() + "/icons/hicolor";
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path =
            QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(size).arg(kAppId);
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size)) << path.toStdString();
        // The rounded corners are see-through on every panel colour (at small sizes the
        // smoothed edge may just reach the corner pixel).
        EXPECT_TRUE(image.hasAlphaChannel()) << path.toStdString();
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 64) << path.toStdString();
    }
}

// The installed program, started through the command link, takes its example files from the
// installed program folder: the remembered sample list that its first start writes names them.
TEST_F(InstalledLayout, InstalledProgramFindsItsSamplesThroughTheCommandLink) {
    TempDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString homePath = QString::fromStdString(home.path());
    QDir().mkpath(homePath + "/Desktop");
    env.insert(QStringLiteral("HOME"), homePath);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), homePath + "/.config");
    env.insert(QStringLiteral("XDG_DATA_HOME"), homePath + "/.local/share");
    env.insert(QStringLiteral("XDG_CACHE_HOME"), homePath + "/.cache");
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(Command(), {});
    ASSERT_TRUE(program.waitForStarted(30000)) << program.errorString().toStdString();

    const QString settingsFile = homePath + "/.config/Kelvardy/Quillane.conf";
    QString stored;
    for (int waited = 0; waited < 60000 && stored.isEmpty(); waited += 100) {
        if (program.state() == QProcess::NotRunning) {
            break;
        }
        QThread::msleep(100);
        stored = QSettings(settingsFile, QSettings::IniFormat)
                     .value(QStringLiteral("Snapshot"))
                     .toString();
    }
    const bool stillRunning = program.state() == QProcess::Running;
    program.terminate();
    if (!program.waitForFinished(10000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    ASSERT_TRUE(stillRunning) << "the installed program ended on its own:\n"
                              << program.readAll().toStdString();
    ASSERT_FALSE(stored.isEmpty())
        << "no sample list was remembered in " << settingsFile.toStdString();

    const std::string list = UnscrambleText(StoredToScrambled(stored.toStdString()), kSnapshotKey);
    QStringList remembered;
    for (const std::string& path : SampleListPaths(list)) {
        remembered << QString::fromStdString(path);
    }
    remembered.sort();
    // The program's own folder is reported with the link resolved.
    const QString samples = QFileInfo(ProgramFolder()).canonicalFilePath() + "/Samples/";
    QStringList expected;
    for (const QString& name : QDir(samples).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        expected << samples + name;
    }
    expected.sort();
    EXPECT_EQ(remembered, expected) << list;
}

}  // namespace
}  // namespace quillane::test
