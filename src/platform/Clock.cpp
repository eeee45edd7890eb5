#include "platform/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace platform {

namespace {
QMutex g_clockMutex;
std::optional<QDateTime> g_override;
} // namespace

QDateTime Clock::now()
{
    QMutexLocker lock(&g_clockMutex);
    return g_override ? *g_override : QDateTime::currentDateTime();
}

QDate Clock::today()
{
    return now().date();
}

void Clock::setOverride(std::optional<QDateTime> moment)
{
    QMutexLocker lock(&g_clockMutex);
    g_override = std::move(moment);
}

} // namespace platform
