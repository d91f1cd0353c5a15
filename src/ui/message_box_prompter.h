#pragma once

#include <QPointer>
#include <QWidget>

#include "decode/ports.h"

namespace varnel {

// The real modal message box: the text, icon, buttons and title of the
// message, over the given window, waiting until the user answers.
class MessageBoxPrompter : public Prompter {
  public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr);

    MessageAnswer Show(const Message& message) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace varnel
