// Refines published model objects by object ID ("refinePublishedModel" in "zoCommand"). The
// request is built in two stages: Make writes the empty request, then addRequestObject adds the
// objects straight into the made document. The answer's objects are read one at a time.
#pragma once

#include <Korvath_ActionHelper/queryframework/QFZoCommandHelper.h>

class KORVATH_API XelRefineObjectsHelper : public QFZoCommandHelper {
 public:
  enum EResponseObjectStatus {
    // The answer holds no further object.
    kNoResponseObject = 0,
    // An object ID was returned.
    kResponseObjectReturned = 1,
  };

  explicit XelRefineObjectsHelper(const I18NString& modelPath);
  ~XelRefineObjectsHelper() override;

  // Adds an object to the request that the last Make wrote; call after Make.
  void addRequestObject(const I18NString& objectID);
  // Sets `objectID` to the answer's next object ID; leaves it unchanged when there is none.
  EResponseObjectStatus getResponseObject(I18NString& objectID);

 protected:
  // Starts a new, empty request and keeps its root for addRequestObject.
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;
  // Positions the reading on the answer's first object.
  void doTake(ORVIDOM_Element& domResponse) override;

 private:
  // Set by the (const) Make, which is the first stage of building the request.
  mutable ORVIDOM_Element m_requestRoot;
  ORVIDOM_Element m_currentResponseObject;
};
