// Writes two large documents in turn to the path given until it is killed; the store
// tests kill it with SIGKILL in the middle of a write. With "killed-after-exchange", it writes
// once over the file there and kills itself just after the exchange took that file out; a third
// argument, "named", gives its temporary file a name from the start, as without O_TMPFILE.
#include "platform/FileIO.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstring>

#include <signal.h>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (argc >= 3) {
        if (std::strcmp(argv[2], "killed-after-exchange") != 0)
            return 2;
        if (argc == 4 && std::strcmp(argv[3], "named") == 0)
            platform::setReplacementSeamForTesting({ {}, 0, true });
        platform::WriteOptions options;
        options.replaced = platform::ReplacedFileCheck { [](const QString&) {
                                                            ::raise(SIGKILL);
                                                            return false;
                                                        },
            QStringLiteral("conflict"), {} };
        platform::writeFileAtomically(path, "{}", options);
        return 1;
    }
    const QByteArray first(20'000'000, 'n');
    const QByteArray second(12'000'000, 'm');
    // Signal after the first replacement, so that the kill lands in one of the later ones.
    for (int i = 0;; ++i) {
        if (platform::writeFileAtomically(path, i % 2 == 0 ? first : second))
            return 1;
        if (i == 0) {
            std::fputs("writing\n", stdout);
            std::fflush(stdout);
        }
    }
}
