#pragma once

#include "decode/ports.h"

namespace varnel {

// Hands links to the desktop's default browser or mail program. Fire and
// forget: whether anything opened is not the program's business.
class DesktopUrlOpener : public UrlOpener {
  public:
    void Open(const QString& url) override;
};

}  // namespace varnel
