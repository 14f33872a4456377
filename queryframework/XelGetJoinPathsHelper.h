// Asks the modelling engine for the join paths between query items ("getJoinPaths" in
// "zoCommand") and reads the joins of its answer.
#pragma once

#include <set>
#include <vector>

#include <Korvath_ActionHelper/queryframework/QFZoCommandHelper.h>

class KORVATH_API XelGetJoinPathsHelper : public QFZoCommandHelper {
 public:
  explicit XelGetJoinPathsHelper(const I18NString& modelPath);
  ~XelGetJoinPathsHelper() override;

  // Appends an expression to connect; an empty one is ignored.
  void AddItem(const I18NString& item);
  // 1 when the answer holds at least one "joinPath", else 0.
  int PathExists();
  // Inserts the text of every "join" of every "joinPath" of the answer; earlier entries stay.
  void GetJoins(std::set<I18NString>& joins);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Keeps `elem` as the answer.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  // True when an answer was taken and it is an element.
  bool HasResponse() const;

  std::vector<I18NString> m_items;
  ORVIDOM_Element m_response;
};
