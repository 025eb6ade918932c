// The engine with a setup dialog that carries the bar and both status lines,
// and a small product of its own: sources under c:\Src\Velmora, target c:\Game.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "engine/dialog_window.h"
#include "engine/status_display.h"
#include "engine_fixture.h"

class CopyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        dialog = sim::makeDialog({{1005, "msctls_progress32", ""},
                                  {1019, "static", ""},
                                  {1021, "static", ""}},
                                 {0, 0, 400, 300});
        setupDialogWindow = dialog;
        engine.setProgressControl(1005);
        text::copy(engine.sourceDir, sizeof engine.sourceDir, "c:\\Src\\Velmora");
        text::copy(engine.installDir, sizeof engine.installDir, "c:\\Game");
        sim::makeDirs("c:\\Game");
        currentFileName.store("");
        spinnerIndex = 0;
        spinnerCounter = 0;
    }
    void TearDown() override {
        EngineTest::TearDown();
        setupDialogWindow = nullptr;
    }

    // installFiles := the names, each with a source of the given size.
    void useFiles(const std::vector<std::pair<std::string, std::size_t>>& files) {
        std::vector<const char*> table;
        for (const auto& f : files) {
            table.push_back(f.first.c_str());
            sim::writeFile(source(f.first), contents(f.first, f.second));
        }
        table.push_back(nullptr);
        engine.installFiles = copyFileList(engine.installFiles, table.data());
    }
    static std::string contents(const std::string& name, std::size_t size) {
        std::string s(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            s[i] = static_cast<char>(name[i % name.size()] + i / 65536);
        return s;
    }
    static std::string source(const std::string& name) { return "c:\\Src\\Velmora\\" + name; }
    static std::string target(const std::string& name) { return "c:\\Game\\" + name; }

    platform::Window bar() const { return sim::control(dialog, 1005); }
    std::string line(int line) const { return sim::controlText(dialog, line == 0 ? 1019 : 1021); }

    platform::Window dialog = nullptr;
};
