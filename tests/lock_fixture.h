#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/program.h"
#include "app/ui_texts.h"
#include "about/about_window.h"
#include "editor/main_window.h"
#include "lock/lock_window.h"
#include "platform/headless/headless_backend.h"

namespace inkmoss {

// A fresh run directory per test, and a program on the headless platform.
class LockFixture : public ::testing::Test {
protected:
    LockFixture() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = std::filesystem::temp_directory_path() / ("inkmoss-" + std::to_string(getpid()) + "-" + name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        restart();
    }
    ~LockFixture() override { std::filesystem::remove_all(dir); }

    // A new run of the program on the same run directory, not yet started.
    void restart() {
        program.reset();
        backend = std::make_unique<HeadlessBackend>(dir);
        program = std::make_unique<Program>(*backend);
    }
    void start() { program->start(); }
    LockWindow& lock() { return program->lock(); }

    std::filesystem::path hostPath(std::string_view tail) const {
        std::string path = dir.string() + std::string(tail);
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    void putFile(std::string_view tail, const std::string& bytes) const {
        std::filesystem::create_directories(hostPath(tail).parent_path());
        std::ofstream(hostPath(tail), std::ios::binary) << bytes;
    }
    std::optional<std::string> fileBytes(std::string_view tail) const {
        std::ifstream in(hostPath(tail), std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    void storePassword(const std::string& value) const { putFile(ui::password_file, "[ZH]\r\nMM=" + value + "\r\n"); }
    // Starts with a stored password and unlocks: the clock then stands at
    // the moment of the unlock.
    void startAndUnlock() {
        storePassword("pw");
        start();
        backend->type(lock().编辑框2, "pw");
        backend->click(lock().超级按钮1);
    }

    // The text of the notice if it is showing, nullopt otherwise.
    std::optional<std::string> notice() { 
        if (!lock().超级按钮_关闭9.visible()) return std::nullopt;
        return lock().超级按钮_关闭9.text();
    }

    std::filesystem::path dir;
    std::unique_ptr<HeadlessBackend> backend;
    std::unique_ptr<Program> program;
};

}  // namespace inkmoss
