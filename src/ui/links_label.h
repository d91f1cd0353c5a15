#pragma once

#include <QLabel>

namespace varnel {

// Rich text whose links are reached with the keyboard as well as the mouse:
// Tab into it lands on its first link (Shift+Tab on its last), further Tabs
// go from link to link, Enter follows one (linkActivated). A plain QLabel
// would first take the focus with no link chosen, a stop that shows nothing.
class LinksLabel : public QLabel {
    Q_OBJECT

  public:
    explicit LinksLabel(QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace varnel
