#pragma once

#include <QCoreApplication>

namespace fuzz {

/// Makes the application object the Qt classes under test expect, once per process.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
}

} // namespace fuzz
