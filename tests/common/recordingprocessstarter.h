#pragma once

#include "platform/processstarter.h"

namespace kurubako {

// Records the starts and answers `succeed`.
class RecordingProcessStarter final : public ProcessStarter
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        starts.append({program, arguments});
        return succeed;
    }
    bool succeed = true;
    QList<Start> starts;
};

} // namespace kurubako
