#pragma once

#include <span>

#include "win/dialog.h"
#include "win/message_map.h"

// A dialog whose handlers are listed in a table, `Derived::messageMap()`, and routed from here:
//
//   class SomeDialog : public MappedDialog<SomeDialog> {
//       friend MappedDialog;
//       static MessageMap<SomeDialog> messageMap();
//       ...
//   };
//   MessageMap<SomeDialog> SomeDialog::messageMap() {
//       static constexpr MessageEntry<SomeDialog> MAP[] = {
//           onClick<&Self::onSave>(IDC_SAVE),
//           onMessage<&Self::onSomethingTyped>(),
//       };
//       return MAP;
//   }
//
// The table is handed out by a function, not named as an array, so that a file that includes
// the dialog's header alone need not know the table's length.
template <class Derived>
class MappedDialog : public Dialog {
  protected:
    using Dialog::Dialog;
    // Lets a table name its handlers briefly.
    using Self = Derived;

    bool route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) final {
        return dispatchMessage<Derived>(static_cast<Derived&>(*this), Derived::messageMap(),
                                        message, wParam, lParam, result);
    }
};
