// The root of every helper: Make writes the helper's document in a private document of its own,
// Take reads a received element; each helper overrides doMake and doTake.
#pragma once

#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>

class KORVATH_API ActionHandlerBase {
 public:
  virtual ~ActionHandlerBase() = default;

  // Writes the helper's document; on return `elem` refers to its top element.
  void Make(ORVIDOM_Element& elem) const;
  // Reads a received element into the helper.
  void Take(ORVIDOM_Element& elem);

 protected:
  ActionHandlerBase() = default;
  ActionHandlerBase(const ActionHandlerBase&) = default;
  ActionHandlerBase& operator=(const ActionHandlerBase&) = default;

  // Writes the helper into `doc` and points `elem` at the top element; does nothing here.
  virtual void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const;
  // Reads `elem` into the helper; does nothing here.
  virtual void doTake(ORVIDOM_Element& elem);
};
