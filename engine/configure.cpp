#include <cstring>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/drives.h"
#include "platform/files.h"

DriveKind classifyDrive(const char* root, char* labelBuffer, std::size_t labelSize) {
    DriveKind kind = driveOther;
    switch (platform::getDriveType(root)) {
        case platform::driveFixed: kind = driveFixed; break;
        case platform::driveCdrom: kind = driveCdRom; break;
        case platform::driveRemovable: kind = driveRemovable; break;
        case platform::driveRamdisk: kind = driveRamDisk; break;
        case platform::driveRemote: kind = driveRemote; break;
        default: kind = driveOther; break;
    }
    char volumeName[256] = {};
    if (platform::getVolumeInformation(root, volumeName, sizeof volumeName)) {
        volumeName[sizeof volumeName - 1] = '\0';
        if (labelSize > 0) {
            std::strncpy(labelBuffer, volumeName, labelSize - 1);
            labelBuffer[labelSize - 1] = '\0';
        }
    }
    return kind;
}

void SetupEngine::findSource(const char* folderName, const char* probeFileName) {
    char root[] = "c:\\";
    for (int drive = 0; drive < 24; ++drive, ++root[0]) {
        // Cleared for every drive: a label that cannot be read must not match
        // with what an earlier drive left here.
        char label[text::pathCapacity] = {};
        if (classifyDrive(root, label, sizeof label) != driveCdRom) continue;
        for (int j = 0; j < mediaLabelCount; ++j) {
            const char* accepted = fileListEntry(mediaLabels, j);
            if (accepted[0] == '\0' || !text::equal(label, accepted)) continue;
            const char driveOnly[] = {root[0], ':', '\0'};
            char probe[text::pathCapacity];  // a probe Windows could not open is never tried
            if (!text::joinPath(probe, sizeof probe, driveOnly, folderName, probeFileName))
                continue;
            platform::Stream stream = platform::openStream(probe, platform::StreamMode::probeRead);
            if (stream != nullptr) {
                platform::closeStream(stream);
                text::copy(sourceDir, sizeof sourceDir, driveOnly);
                return;
            }
        }
    }
    // No disc: the program's own folder; empty when its path cannot be had whole.
    programFolder(sourceDir, sizeof sourceDir);
}

void SetupEngine::configure(const char* const* installTable, const char* const* extraTable,
                            const char* const* mediaLabelTable, platform::Window dialog,
                            const char* company, const char* product, const char* folder,
                            std::uint32_t megabytes) {
    dialogWindow = dialog;
    requiredMegabytes = megabytes;
    installFiles = copyFileList(installFiles, installTable);
    extraFiles = copyFileList(extraFiles, extraTable);
    mediaLabels = copyFileList(mediaLabels, mediaLabelTable);
    text::copy(companyName, sizeof companyName, company);
    text::copy(productName, sizeof productName, product);
    text::copy(productFolder, sizeof productFolder, folder);

    findSource(folder, fileListEntry(installFiles, 0));
    char composed[text::pathCapacity];
    // A source folder too long for its field is left empty rather than cut into
    // the name of another folder; every path composed from it is then refused.
    text::joinPath(composed, sizeof composed, sourceDir, productFolder);
    text::copy(sourceDir, sizeof sourceDir, composed);

    installed = 0;
    if (readInstallRecord()) installed = 1;
}
