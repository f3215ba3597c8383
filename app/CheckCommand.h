#pragma once
#include "app/Command.h"

// "appointform check DOC...": loads, checks and lays out every document as
// the editor's preview would, one line per document on stdout.
class CheckCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    QString unknownOptionHint() const override;
    int execute(const CommandOptions &options) const override;
};
