#pragma once

#include <QStringList>

namespace kurubako {

// Starts a program as a detached process: no waiting, no handle kept, no working folder set.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    // False when the process could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};

class QtProcessStarter final : public ProcessStarter
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};

} // namespace kurubako
