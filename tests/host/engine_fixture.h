// A fresh simulated machine and a fresh engine for each test.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "engine/setup_engine.h"
#include "platform/constants.h"
#include "platform/sim/sim.h"
#include "shell/product_profile.h"
#include "shell/profile_configuration.h"

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::reset();
        engine.restoreDefaults();
    }
    void TearDown() override {
        engine.teardown();
        sim::joinThreads();
    }

    // configure as the entry does, with installList entry 0 made the executable.
    void configureAsEntry() {
        const char* saved = productProfile.installList[0];
        configureFromProfile(engine);
        productProfile.installList[0] = saved;
    }

    static std::string repeat(char c, std::size_t n) { return std::string(n, c); }

    SetupEngine engine;
};
