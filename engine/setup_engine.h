// The one process-wide record of the setup engine and its operations.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/file_list.h"
#include "engine/text.h"
#include "platform/types.h"

enum DriveKind {
    driveOther = 0,
    driveFixed = 1,
    driveCdRom = 2,
    driveRemovable = 3,
    driveRamDisk = 4,
    driveRemote = 5,
};

constexpr int selectedCount = 20;  // selection bytes cover installFiles 0 to 19
constexpr int endOfList = 9999;
constexpr std::uint32_t progressSteps = 1000;  // the bar's range during a copy

struct SetupEngine {
    SetupEngine();
    ~SetupEngine();
    SetupEngine(const SetupEngine&) = delete;
    SetupEngine& operator=(const SetupEngine&) = delete;

    FileList installFiles;
    FileList extraFiles;
    FileList mediaLabels;
    char companyName[text::pathCapacity];
    char productFolder[text::pathCapacity];
    char productName[text::pathCapacity];
    char installDir[text::pathCapacity];
    char sourceDir[text::pathCapacity];
    char shellFolder[text::pathCapacity];
    std::int32_t mediaLabelCount;
    std::atomic<std::int32_t> busy;
    std::int32_t installType;
    std::int32_t progressControlId;
    std::atomic<std::uint32_t> bytesCopied;
    std::uint32_t requiredMegabytes;
    std::uint32_t copyThreadId;
    platform::Stream sourceStream;
    platform::Stream targetStream;
    platform::Window dialogWindow;
    platform::RegKey registryKey;
    char installBase[text::pathCapacity];
    std::int32_t installed;
    std::atomic<std::int32_t> cancelState;
    std::int32_t firstFile;
    std::int32_t endFile;
    unsigned char selected[selectedCount];
    std::uint32_t progressTarget;
    std::uint32_t progressShown;
    std::uint32_t bytesPerStep;

    // Construction defaults; releases what an earlier use held.
    void restoreDefaults();
    void teardown();

    // Configuration and source discovery.
    void configure(const char* const* installTable, const char* const* extraTable,
                   const char* const* mediaLabelTable, platform::Window dialog,
                   const char* company, const char* product, const char* folder,
                   std::uint32_t megabytes);
    void findSource(const char* folderName, const char* probeFileName);
    bool copySourceDir(char* buffer, std::size_t size) const;
    void setProgressControl(std::int32_t id) { progressControlId = id; }
    void setInstallType(std::int32_t type, std::int32_t first, std::int32_t end);
    void setRequiredMegabytes(std::uint32_t megabytes) { requiredMegabytes = megabytes; }
    bool isBusy() const { return busy.load() == 1; }

    // Whether a copy takes installFiles entry `index`. Entries past the selection
    // bytes are part of every choice: they are copied whenever the range reaches them.
    bool isSelected(int index) const;

    // The installation record.
    bool readInstallRecord();
    bool writeInstallRecord();
    bool deleteInstallRecord(const char* keyPath);
    void closeRecordKey();
    bool createRecordKey(const char* path);
    bool openRecordKey(const char* path);
    bool setRecordValue(const char* name, std::uint32_t type, const void* data,
                        std::uint32_t byteCount);
    bool queryRecordValue(const char* name, std::uint32_t type, void* buffer,
                          std::uint32_t bufferSize);

    // File transfer and update.
    bool copyOneFile(const char* targetPath, const char* sourcePath, const char* name);
    std::uint32_t selectedSourceBytes();
    void updateInstallation();

    // Background copy and progress. The bar is control progressControlId of
    // dialogWindow, or of the setup dialog while dialogWindow is none.
    bool copySelectedFiles();
    void advanceProgress();
    void resetProgressBar(std::uint32_t range);
    void stepProgressBar();
    // Counts the bar up to target steps, never back. Steps past progressSteps are
    // counted but not sent: PBM_STEPIT past the range starts the bar over.
    void stepProgressTo(std::uint32_t target);
    void showStatus(const char* textIn);

    // Install, uninstall, Start menu.
    bool install();
    bool makeFolderPath(const char* path);
    bool uninstallProduct();
    void deleteListedFiles(const char* folder);
    bool createStartMenuEntries(int folderKind);
    int removeStartMenuEntries();

    // Launcher.
    bool openDocument(const char* path, const char* parameters);
    bool launchGame();
    bool openReadme();
    void openManual();
};

// The engine of the running program.
extern SetupEngine setupEngine;

DriveKind classifyDrive(const char* root, char* labelBuffer, std::size_t labelSize);
std::uint32_t fileSizeOrZero(const char* path);
std::uint64_t fileSize64OrZero(const char* path);
// The program's own folder (its path cut at the last backslash); false when the
// path cannot be had whole.
bool programFolder(char* buffer, std::size_t size);
