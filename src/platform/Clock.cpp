#include "platform/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace platform {

namespace {
QMutex g_mutex;
std::optional<QDateTime> g_override;
} // namespace

QDateTime Clock::now()
{
    QMutexLocker lock(&g_mutex);
    return g_override ? *g_override : QDateTime::currentDateTime();
}

QDate Clock::today()
{
    return now().date();
}

void Clock::setOverride(std::optional<QDateTime> moment)
{
    QMutexLocker lock(&g_mutex);
    g_override = std::move(moment);
}

} // namespace platform
