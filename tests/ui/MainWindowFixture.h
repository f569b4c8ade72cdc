// What the Qt tests of the main window share: a temporary home with its options, and a shown
// main window whose questions are recorded and answered with m_answer.
#pragma once

#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/Directories.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/TempHome.h"
#include "ui/MainWindow.h"

class MainWindowFixture {
protected:
    // Prepares the home and the options, runs beforeWindow (to put files in the home), then
    // shows the window. False, with the failure reported, when the home or the window failed.
    bool startWindow(const std::function<void()>& beforeWindow = {}) {
        m_home = std::make_unique<vexa::test::TempHome>();
        vexa::Directories directories(vexa::Directories::resolveHome());
        if (vexa::prepareHome(directories, {}) == vexa::HomeStart::DirectoriesMissing) {
            QTest::qFail("the temporary home could not be prepared", __FILE__, __LINE__);
            return false;
        }
        m_options = std::make_unique<vexa::Options>(directories);
        m_options->load();
        if (beforeWindow) {
            beforeWindow();
        }
        m_window = std::make_unique<vexa::ui::MainWindow>(*m_options);
        m_questions.clear();
        m_answer = vexa::Answer::No;
        m_window->setResponder([this](std::string_view text, std::string_view) {
            m_questions.emplace_back(text);
            return m_answer;
        });
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    void stopWindow() {
        m_window.reset();
        m_options.reset();
        m_home.reset();
    }

    std::unique_ptr<vexa::test::TempHome> m_home;
    std::unique_ptr<vexa::Options> m_options;
    std::unique_ptr<vexa::ui::MainWindow> m_window;
    std::vector<std::string> m_questions;
    vexa::Answer m_answer = vexa::Answer::No;
};
