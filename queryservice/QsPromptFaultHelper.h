// Reads the prompt fault of the query service interface: the "parameters" whose values a query
// needs before it can run, each turned into a QsParameterHelper.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/queryservice/QsParameterHelper.h>

class KORVATH_API QsPromptFaultHelper : public ActionHandlerBase {
 public:
  QsPromptFaultHelper() = default;
  ~QsPromptFaultHelper() override;
  QsPromptFaultHelper(const QsPromptFaultHelper&) = delete;
  QsPromptFaultHelper& operator=(const QsPromptFaultHelper&) = delete;

  // The parameters in document order; taking a second fault appends its parameters.
  const std::vector<QsParameterHelper*>& GetParameters() const { return m_parameters; }

 protected:
  void doTake(ORVIDOM_Element& elem) override;

 private:
  std::vector<QsParameterHelper*> m_parameters;
};
