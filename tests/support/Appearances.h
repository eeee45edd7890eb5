#pragma once

#include "platform/Appearance.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace mervane::test {

/// Puts the appearance back, when it goes, to the one there was when it was made.
class AppearanceRestorer {
public:
    AppearanceRestorer() : m_before(platform::AppearanceController::instance().appearance()) { }
    ~AppearanceRestorer() { platform::AppearanceController::instance().setAppearance(m_before); }
    AppearanceRestorer(const AppearanceRestorer&) = delete;
    AppearanceRestorer& operator=(const AppearanceRestorer&) = delete;

private:
    platform::Appearance m_before;
};

/// Sets each of `choices` in turn and, once the change has reached the widgets, runs `check`
/// with whether it is the dark one; failures are traced with the appearance's name.
inline void inAppearances(
    std::initializer_list<platform::Appearance> choices, const std::function<void(bool dark)>& check)
{
    for (const platform::Appearance choice : choices) {
        const bool dark = choice == platform::Appearance::Dark;
        SCOPED_TRACE(dark ? "dark" : "light");
        platform::AppearanceController::instance().setAppearance(choice);
        QCoreApplication::processEvents();
        check(dark);
    }
}

} // namespace mervane::test
