// Makes the "feedback" element of an update-object response, a tree of classified messages, and
// renders a received "feedback" element as indented plain text.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Element.h>

// One message of the tree; internal to the library, callers only pass the pointers around.
class ZoFeedbackEntry;

class KORVATH_API ZoActionFeedbackHelper : public ActionHandlerBase {
 public:
  enum EEntryClass : int {
    kClassUnknown = 0,
    kClassInfo = 1,
    kClassWarning = 2,
    kClassError = 3,
    kClassTrace = 4,
  };

  ZoActionFeedbackHelper() = default;
  ~ZoActionFeedbackHelper() override;
  ZoActionFeedbackHelper(const ZoActionFeedbackHelper&) = delete;
  ZoActionFeedbackHelper& operator=(const ZoActionFeedbackHelper&) = delete;

  // A new top-level entry, owned by the helper.
  ZoFeedbackEntry* AddEntry(EEntryClass entryClass, const I18NString& text, const I18NString& name);
  // A new last child of `parent`, owned through it; a null `parent` adds a top-level entry.
  ZoFeedbackEntry* AddEntry(ZoFeedbackEntry* parent, EEntryClass entryClass, const I18NString& text,
                            const I18NString& name);

  // The "class" an entry of that class is written with; "unknown" for any other value.
  static const I18NString& ToString(EEntryClass entryClass);

  // Nonzero when no entry was added (a taken element does not count).
  int IsEmpty() const { return entries.empty() ? 1 : 0; }

  // Appends the text form of the taken "feedback" element to `out`; nothing when none was taken.
  void Render(I18NString& out);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Only keeps the element, for Render.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<ZoFeedbackEntry*> entries;
  ORVIDOM_Element feedbackElement;
};
