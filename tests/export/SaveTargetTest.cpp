// Where an export's bytes go: every format through one save stream, which never harms what it
// is pointed at.
#include "export/ExportError.h"
#include "export/ExportFileTypes.h"
#include "export/TDBGridExport.h"
#include "export/TDBGridExportAsText.h"
#include "export/TDBGridExportAsXLSX.h"
#include "support/Bytes.h"
#include "support/ExportFixture.h"
#include "support/ProgramOutput.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

unsigned modeOf(const std::filesystem::path& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// The umask for one test.
class Umask {
public:
    explicit Umask(mode_t mask) : before_(umask(mask)) {}
    ~Umask() { umask(before_); }

private:
    mode_t before_;
};

void write(const ExportFileType& type, const std::filesystem::path& path, ExportFixture& f,
           WorkControl* control = nullptr) {
    const std::unique_ptr<TDBGridExport> writer = type.writer();
    if (control)
        writer->watchWith(*control);
    writer->WriteGridToFile(QString::fromStdString(path.string()), f.layout, f.query);
}

// What the file holds but the moment it was made, which differs between two writes a second
// apart: a PDF's /CreationDate, a workbook's docProps/core.xml.
std::string withoutCreationDate(const std::filesystem::path& file) {
    std::string bytes = fileBytes(file);
    if (bytes.starts_with("PK")) {
        const std::optional<QByteArray> members =
            workbookWithoutItsTime(QString::fromStdString(file.string()));
        EXPECT_TRUE(members) << file << " could not be unzipped";
        return members.value_or(QByteArray()).toStdString();
    }
    const std::size_t at = bytes.find("/CreationDate (D:");
    if (at != std::string::npos)
        bytes.erase(at, bytes.find(')', at) - at);
    return bytes;
}

// A PDF's pages print the minute they were made: two writes either side of a minute's end
// differ there. Waits out the minute's last ten seconds, far more than a pair of writes takes.
void awayFromTheMinutesEnd() {
    using namespace std::chrono;
    const auto intoTheMinute = system_clock::now().time_since_epoch() % minutes(1);
    if (intoTheMinute > seconds(50))
        std::this_thread::sleep_for(minutes(1) - intoTheMinute);
}

} // namespace

TEST(SaveTarget, ANewFileHasTheUmasksModeAndAnOldOneKeepsItsOwnInEveryFormat) {
    ExportFixture f;
    f.open();
    const Umask mask(027);
    for (const ExportFileType& type : exportFileTypes()) {
        const TempDir folder;
        const std::filesystem::path fresh = folder / ("new." + type.name);
        awayFromTheMinutesEnd();
        write(type, fresh, f);
        EXPECT_EQ(modeOf(fresh), 0640U) << type.name;
        const std::filesystem::path old = folder / ("old." + type.name);
        std::ofstream(old) << "old";
        chmod(old.c_str(), 0604);
        write(type, old, f);
        EXPECT_EQ(modeOf(old), 0604U) << type.name;
        EXPECT_EQ(withoutCreationDate(old), withoutCreationDate(fresh)) << type.name;
        EXPECT_EQ(filesIn(folder.path()).size(), 2U) << type.name; // nothing else left
    }
}

TEST(SaveTarget, ALinkIsFollowedAndStaysALink) {
    ExportFixture f;
    f.open();
    for (const char* format : {"txt", "xlsx"}) {
        const TempDir here;
        const TempDir there;
        const std::filesystem::path target = there / "real.out";
        std::ofstream(target) << "old";
        std::filesystem::create_symlink(target, here / "link.out");
        // A link to a link, and a dangling link whose target is made.
        std::filesystem::create_symlink("link.out", here / "chain.out");
        std::filesystem::create_symlink(there / "new.out", here / "dangling.out");
        write(*exportFileTypeNamed(format), here / "chain.out", f);
        write(*exportFileTypeNamed(format), here / "dangling.out", f);
        for (const char* link : {"link.out", "chain.out", "dangling.out"})
            EXPECT_TRUE(std::filesystem::is_symlink(here / link)) << format << " " << link;
        EXPECT_NE(fileBytes(target), "old") << format;
        EXPECT_EQ(withoutCreationDate(target), withoutCreationDate(there / "new.out")) << format;
        EXPECT_EQ(filesIn(there.path()).size(), 2U) << format;
        EXPECT_EQ(filesIn(here.path()).size(), 3U) << format;
    }
}

TEST(SaveTarget, AFifoIsWrittenStraightIntoAndAWaitForItsReaderCanBeCancelled) {
    ExportFixture f;
    f.open();
    const TempDir folder;
    const std::filesystem::path fifo = folder / "pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string read;
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the writer waits
        read = fileBytes(fifo);
    });
    write(*exportFileTypeNamed("txt"), fifo, f);
    reader.join();
    EXPECT_EQ(read, f.written(TDBGridExportAsText()));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    WorkControl control; // no reader comes
    std::thread cancel([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        control.cancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(write(*exportFileTypeNamed("xlsx"), fifo, f, &control), WorkCancelled);
    cancel.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"pipe.txt"});
}

TEST(SaveTarget, ACancelWhileTheWorkbookIsZippedKeepsTheOldFile) {
    ExportFixture f;
    f.query.appendLine("with recursive n(i) as (select 1 union all select i + 1 from n where "
                       "i < 100000) select 'A' || i code, '名称' || i name, i qty, i * 0.5 "
                       "price, '2026-03-01' day from n");
    f.query.open();
    const TempDir folder;
    const std::filesystem::path path = folder / "out.xlsx";
    std::ofstream(path) << "old";
    WorkControl control;
    bool zipping = false;
    std::thread watcher([&] {
        while (control.stage() != WorkControl::Stage::Finishing)
            std::this_thread::yield();
        zipping = true;
        control.cancel();
    });
    EXPECT_THROW(write(*exportFileTypeNamed("xlsx"), path, f, &control), WorkCancelled);
    watcher.join();
    EXPECT_TRUE(zipping);
    EXPECT_EQ(control.done(), 100000U); // every record was written before the zip
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"out.xlsx"});
}

TEST(SaveTarget, ATargetThatCannotBeMadeSaysWhy) {
    ExportFixture f;
    f.open();
    const TempDir folder;
    const std::filesystem::path path = folder / "no such folder" / "out.txt";
    try {
        write(*exportFileTypeNamed("txt"), path, f);
        ADD_FAILURE() << "written into a folder that is not there";
    } catch (const ExportError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + path.string());
        EXPECT_EQ(error.reason(), "No such file or directory");
    }
    try {
        write(*exportFileTypeNamed("html"), folder.path(), f);
        ADD_FAILURE() << "a folder was written";
    } catch (const ExportError& error) {
        EXPECT_EQ(error.reason(), "Is a directory");
    }
    EXPECT_TRUE(filesIn(folder.path()).empty());
}
