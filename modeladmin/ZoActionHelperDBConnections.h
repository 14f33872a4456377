// Makes a "dbConnections" element from "dbConnection" elements made one by one, and collects
// the "dbConnection" elements of a received subtree for reading.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/modeladmin/ZoActionHelperDBConnection.h>

class KORVATH_API ZoActionHelperDBConnections : public ActionHandlerBase {
 public:
  ZoActionHelperDBConnections() = default;

  // Appends the handle as it is; the element may belong to any document.
  void addDom(const ORVIDOM_Element& dbConnection) { m_dbConnections.push_back(dbConnection); }
  // The handles in the order added or found.
  std::vector<ORVIDOM_Element> getDomVector() const { return m_dbConnections; }

 protected:
  // Writes a copy of every listed element; refuses an empty list and a null handle.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& domRequest) const override;
  // Adds every "dbConnection" at any depth below `elem`, after those already held.
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<ORVIDOM_Element> m_dbConnections;
  // The element last written or read.
  mutable ORVIDOM_Element m_requestRoot;
};
