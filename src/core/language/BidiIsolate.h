#pragma once

#include <QString>

// A name put into a translated sentence (a client's name in an Arabic line) as one unit: wrapped
// in a first-strong isolate, so that it keeps its own direction and neither it nor the
// punctuation around it is reordered with the sentence. Isolates the name opens are closed and
// ones it closes without opening are dropped, so that it cannot end the isolate early or carry
// its direction past it. An empty name stays empty.
QString bidiIsolated(const QString& inserted);
