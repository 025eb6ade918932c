#include "tests/bench/bench_engine.h"

#include "engine/text.h"

namespace bench {

void prepareCopy(SetupEngine& engine, const char* const* installTable, const std::string& source,
                 const std::string& target) {
    static const char* const noNames[] = {nullptr};
    engine.installFiles = copyFileList(engine.installFiles, installTable);
    engine.extraFiles = copyFileList(engine.extraFiles, noNames);
    text::copy(engine.sourceDir, sizeof engine.sourceDir, source.c_str());
    text::copy(engine.installDir, sizeof engine.installDir, target.c_str());
    for (int i = 0; i < selectedCount; ++i) engine.selected[i] = 1;
    engine.setInstallType(0, 0, endOfList);
    engine.setProgressControl(1005);
    engine.dialogWindow = nullptr;
}

}  // namespace bench
