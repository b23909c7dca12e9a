#include "TableAccessTestSupport.h"

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "data/Dictionary.h"
#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "runtime/TextCase.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace fs = std::filesystem;

// ---- RecordingRaiser

Level RecordingRaiser::raise(std::uint16_t id) {
    raised_.push_back(RaisedMessage{id, file_, field_, text_, error_});
    switch (id) {
        case 3:
        case 8:
        case 9:
        case 32:
        case 33:
        case 34:
        case 35:
        case 36:
        case 37: {
            if (answers_.empty()) {
                ADD_FAILURE() << "question " << id << " without a scripted answer";
                return kLevelCancel;
            }
            const bool yes = answers_.front();
            answers_.pop_front();
            return yes ? kLevelBenign : kLevelCancel;
        }
        case 10:
        case 23:
        case 26:
        case 39:
            halt(static_cast<int>(kLevelFatal), "message " + std::to_string(id));
        default:
            return kLevelNotify;
    }
}

std::vector<std::uint16_t> RecordingRaiser::ids() const {
    std::vector<std::uint16_t> ids;
    for (const RaisedMessage& message : raised_) ids.push_back(message.id);
    return ids;
}

// ---- TableAccessTest

TableAccessTest::TableAccessTest() : data_(root / "data") {
    fs::create_directory(data_);
    for (const TableFile& table : tableFiles()) {
        const fs::path name = hostPath(lowerSlovenian(table.builtInName));
        setTableFileName(table.table, (data_ / name).lexically_normal().string());
    }
    clearAllRecordBuffers();
    clearLastError();
    previousHalt_ = setHaltHandler([](int code, std::string_view message) {
        throw ProgramHalted{code, std::string(message)};
    });
}

TableAccessTest::~TableAccessTest() {
    access_.reset();
    setHaltHandler(previousHalt_);
    resetTableFileNames();
    clearAllRecordBuffers();
    clearLastError();
}

DatabaseOptions TableAccessTest::options() const {
    DatabaseOptions options;
    options.busyTimeoutMs = busyTimeoutMs;
    return options;
}

TableAccess& TableAccessTest::access() {
    if (!access_ && makeConnection)
        access_ = std::make_unique<TableAccess>(&raiser, makeConnection());
    if (!access_) access_ = std::make_unique<TableAccess>(&raiser, testConnection(options()));
    return *access_;
}

RelationKeeper& TableAccessTest::keeper(std::string_view table) {
    RelationKeeper* keeper = access().relations(table);
    if (keeper == nullptr) throw std::logic_error("no keeper for " + std::string(table));
    return *keeper;
}

void TableAccessTest::handOver() const {
    fs::permissions(root.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    if (::chown(data_.c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown failed";
    for (const auto& entry : fs::directory_iterator(data_))
        if (::chown(entry.path().c_str(), 65534, 65534) != 0) ADD_FAILURE() << "chown failed";
}

// ---- records

namespace {

void setDocumentKey(DOKUMENTRecord& record, const DocumentKey& key) {
    record.VRSTAPRODAJE = key.kind;
    record.ENOTA = static_cast<std::uint16_t>(key.unit);
    record.OZNAKADOKUMENTA = key.mark;
    record.VRSTAPROMETA = static_cast<std::uint16_t>(key.type);
}

void setLineKey(DOKPROMERecord& record, const DocumentKey& key, int document) {
    record.VRSTAPRODAJE = key.kind;
    record.ENOTA = static_cast<std::uint16_t>(key.unit);
    record.OZNAKADOKUMENTA = key.mark;
    record.VRSTAPROMETA = static_cast<std::uint16_t>(key.type);
    record.STEVILKADOKUMENTA = document;
}

}  // namespace

int addDocument(FileManager& documents, const DocumentKey& key) {
    clearRecord(documents.table(), &DOK);
    setDocumentKey(DOK, key);
    if (documents.PrepareNew(true) != kLevelBenign) return 0;
    DOK.PREVZEL = "test";
    DOK.NACINDODELJEVANJASTEVILK = "C";
    if (documents.Insert() != kLevelBenign) return 0;
    return DOK.STEVILKADOKUMENTA;
}

int addLine(FileManager& lines, const DocumentKey& key, int document, std::string_view ean) {
    clearRecord(lines.table(), &DOKPROME);
    setLineKey(DOKPROME, key, document);
    if (lines.PrepareNew(true) != kLevelBenign) return 0;
    DOKPROME.EAN = ean;
    DOKPROME.BLAGOALISTORITEV = "B";
    if (lines.Insert() != kLevelBenign) return 0;
    return DOKPROME.POSTAVKADOKUMENTA;
}

std::vector<int> lineNumbers(FileManager& lines, const DocumentKey& key, int document) {
    std::vector<int> numbers;
    if (lines.UseFile() != kLevelBenign) return numbers;
    const int order = lines.table().findKey("ENOTASTEVILKAKLJUC");
    clearRecord(lines.table(), &DOKPROME);
    setLineKey(DOKPROME, key, document);
    EXPECT_EQ(lines.driver()->set(order), DriverCode::Ok);
    while (lines.NextSilently() == kLevelBenign && DOKPROME.STEVILKADOKUMENTA == document &&
           DOKPROME.ENOTA == key.unit)
        numbers.push_back(DOKPROME.POSTAVKADOKUMENTA);
    return numbers;
}

int countRecords(FileManager& file) {
    if (file.UseFile() != kLevelBenign) return -1;
    EXPECT_EQ(file.driver()->setToStart(kFileOrder), DriverCode::Ok);
    int count = 0;
    while (file.NextSilently() == kLevelBenign) ++count;
    return count;
}

void addGroup(FileManager& groups, int code, std::string_view name) {
    clearRecord(groups.table(), &SFGRUPE);
    SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
    SFGRUPE.Naziv = name;
    groups.UseFile();
    ASSERT_EQ(groups.driver()->add(), DriverCode::Ok) << groups.driver()->lastError().text;
}

void addItem(FileManager& items, std::string_view ean, int group, int subgroup) {
    EXPECT_EQ(items.PrepareNew(), Level::Benign);
    ARTIKLI.EAN = ean;
    ARTIKLI.KRATEKNAZIV = ean;
    ARTIKLI.SKUPINA = static_cast<std::uint16_t>(group);
    ARTIKLI.PODSKUPINA = static_cast<std::uint16_t>(subgroup);
    ASSERT_EQ(items.Insert(), kLevelBenign);
}

// ---- processes

ChildProcess::ChildProcess(const std::function<int()>& work) {
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ != 0) return;
    int status = 126;
    try {
        status = work();
    } catch (...) {
        status = 125;
    }
    ::_exit(status);
}

ChildProcess::~ChildProcess() {
    if (status_ >= 0 || pid_ <= 0) return;
    kill();
    wait();
}

void ChildProcess::kill() {
    if (pid_ > 0 && status_ < 0) ::kill(pid_, SIGKILL);
}

int ChildProcess::wait() {
    if (status_ >= 0) return status_;
    if (pid_ < 0) return status_ = 127;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    if (WIFSIGNALED(status))
        status_ = 128 + WTERMSIG(status);
    else
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 127;
    return status_;
}

ProcessSignal::ProcessSignal() {
    if (::pipe(ends_) != 0) ends_[0] = ends_[1] = -1;
}

ProcessSignal::~ProcessSignal() {
    ::close(ends_[0]);
    ::close(ends_[1]);
}

void ProcessSignal::send(char value) {
    if (::write(ends_[1], &value, 1) != 1) ADD_FAILURE() << "signal not sent";
}

char ProcessSignal::wait() {
    char value = 0;
    return ::read(ends_[0], &value, 1) == 1 ? value : 0;
}

// ---- FullDisk

namespace {

std::atomic<bool> diskFull{false};
sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs fullDiskVfs;
sqlite3_io_methods fullDiskMethods;

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool wal;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

int shimClose(sqlite3_file* f) {
    return real(f)->pMethods->xClose(real(f));
}
int shimRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o) {
    return real(f)->pMethods->xRead(real(f), b, n, o);
}
int shimWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
    if (diskFull && reinterpret_cast<ShimFile*>(f)->wal) return SQLITE_FULL;
    return real(f)->pMethods->xWrite(real(f), b, n, o);
}
int shimTruncate(sqlite3_file* f, sqlite3_int64 s) {
    return real(f)->pMethods->xTruncate(real(f), s);
}
int shimSync(sqlite3_file* f, int flags) {
    return real(f)->pMethods->xSync(real(f), flags);
}
int shimFileSize(sqlite3_file* f, sqlite3_int64* s) {
    return real(f)->pMethods->xFileSize(real(f), s);
}
int shimLock(sqlite3_file* f, int l) {
    return real(f)->pMethods->xLock(real(f), l);
}
int shimUnlock(sqlite3_file* f, int l) {
    return real(f)->pMethods->xUnlock(real(f), l);
}
int shimCheckReserved(sqlite3_file* f, int* r) {
    return real(f)->pMethods->xCheckReservedLock(real(f), r);
}
int shimFileControl(sqlite3_file* f, int op, void* a) {
    return real(f)->pMethods->xFileControl(real(f), op, a);
}
int shimSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
int shimDevice(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int shimShmMap(sqlite3_file* f, int i, int s, int e, void volatile** p) {
    return real(f)->pMethods->xShmMap(real(f), i, s, e, p);
}
int shimShmLock(sqlite3_file* f, int o, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), o, n, flags);
}
void shimShmBarrier(sqlite3_file* f) {
    real(f)->pMethods->xShmBarrier(real(f));
}
int shimShmUnmap(sqlite3_file* f, int d) {
    return real(f)->pMethods->xShmUnmap(real(f), d);
}
int shimFetch(sqlite3_file* f, sqlite3_int64 o, int n, void** p) {
    return real(f)->pMethods->xFetch(real(f), o, n, p);
}
int shimUnfetch(sqlite3_file* f, sqlite3_int64 o, void* p) {
    return real(f)->pMethods->xUnfetch(real(f), o, p);
}

int shimOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->wal = (flags & SQLITE_OPEN_WAL) != 0;
    const int result = realVfs->xOpen(realVfs, name, shim->real, flags, outFlags);
    shim->base.pMethods = shim->real->pMethods != nullptr ? &fullDiskMethods : nullptr;
    return result;
}

}  // namespace

FullDisk::FullDisk() {
    realVfs = sqlite3_vfs_find(nullptr);
    fullDiskVfs = *realVfs;
    fullDiskVfs.zName = "dv-full-disk";
    fullDiskVfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + realVfs->szOsFile;
    fullDiskVfs.xOpen = shimOpen;
    fullDiskVfs.pNext = nullptr;
    fullDiskMethods = sqlite3_io_methods{3,
                                         shimClose,
                                         shimRead,
                                         shimWrite,
                                         shimTruncate,
                                         shimSync,
                                         shimFileSize,
                                         shimLock,
                                         shimUnlock,
                                         shimCheckReserved,
                                         shimFileControl,
                                         shimSectorSize,
                                         shimDevice,
                                         shimShmMap,
                                         shimShmLock,
                                         shimShmBarrier,
                                         shimShmUnmap,
                                         shimFetch,
                                         shimUnfetch};
    diskFull = false;
    sqlite3_vfs_register(&fullDiskVfs, 1);
}

FullDisk::~FullDisk() {
    diskFull = false;
    sqlite3_vfs_unregister(&fullDiskVfs);
    sqlite3_vfs_register(realVfs, 1);
}

void FullDisk::arm(bool on) {
    diskFull = on;
}

}  // namespace dv::test
