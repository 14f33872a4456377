// Fills one writing helper, chosen by the first byte, with tasks, parameters and entries whose
// strings come from the input, writes it, parses the text and takes the result: the document
// must parse and every value set must come back. A string XML cannot carry may only end in
// ORVIDOM_DOMException, and an operation the helper refuses in ORVAssertError.
#include <vector>

#include "FuzzSupport.h"

namespace {

using fuzz::Bytes;
using fuzz::Check;

// A string for a value that must come back: the reading helpers skip empty texts.
I18NString valueFrom(Bytes& in) {
  std::string s = in.string();
  return s.empty() ? I18NString("v") : I18NString(s);
}

// `helper` made, written and parsed again: the top element of a fresh document.
ORVIDOM_Element writtenAndParsed(const ActionHandlerBase& helper) {
  ORVIDOM_Element made;
  helper.Make(made);
  const std::string xml = ORVIDOM_Writer::toString(made);
  try {
    return ORVIDOM_Parser::parseString(xml).getDocumentElement();
  } catch (const ORVIDOM_ParseError& e) {
    Check(false, std::string("a written document does not parse: ") + e.what() + "\n" + xml);
  }
  return {};
}

void updateRequest(Bytes& in) {
  using Task = ZoUpdateRequestTaskHelper;
  ZoUpdateObjectRequestHelper request;
  struct Set {
    Task::EParameter kind;
    I18NString value, locale;
  };
  std::vector<std::vector<Set>> sets;
  for (unsigned t = in.below(4); t-- > 0 && !in.empty();) {
    Task* task = request.AddTask(static_cast<Task::ETask>(1 + in.below(Task::kTaskRemoveObject)));
    sets.emplace_back();
    for (unsigned p = in.below(6); p-- > 0;) {
      const auto kind = static_cast<Task::EParameter>(1 + in.below(Task::kParamDimensionRef));
      Set set{kind, valueFrom(in), in.byte() % 2 ? I18NString(in.string()) : I18NString()};
      task->AddParameter(kind, set.value, set.locale);
      sets.back().push_back(set);
    }
  }
  ORVIDOM_Element back = writtenAndParsed(request);
  ZoUpdateObjectRequestHelper taken;
  taken.Take(back);
  Check(taken.GetTasks().size() == sets.size(), "update request: task count");
  for (std::size_t t = 0; t < sets.size(); ++t) {
    std::map<Task::EParameter, std::vector<const Set*>> expected;
    for (const Set& s : sets[t]) expected[s.kind].push_back(&s);
    for (const auto& [kind, want] : expected) {
      std::vector<Task::ParamValue*> got;
      taken.GetTasks()[t]->GetParameter(kind, got);
      Check(got.size() == want.size(),
            "update request: value count of " + Task::ToString(kind).str());
      for (std::size_t i = 0; i < got.size(); ++i) {
        Check(got[i]->value == want[i]->value && got[i]->locale == want[i]->locale,
              "update request: value of " + Task::ToString(kind).str());
      }
    }
  }
}

void materializeRequest(Bytes& in) {
  using Request = ZoMaterializeRequestHelper;
  Request request;
  request.AddTask(static_cast<Request::ETasks>(1 + in.below(Request::kTaskMaterializeResultSet)));
  std::map<Request::EParameters, I18NString> params;
  for (unsigned p = in.below(8); p-- > 0;) {
    const auto kind = static_cast<Request::EParameters>(1 + in.below(Request::kParamObjectID));
    params[kind] = valueFrom(in);
    request.AddParameter(kind, params[kind]);
  }
  const I18NString type = valueFrom(in), database = valueFrom(in), connection = valueFrom(in);
  Request::TargetDataSource source;
  source.type = &type;
  source.database = &database;
  source.connectionString = &connection;
  request.SetTargetDataSource(source);
  ORVIDOM_Element back = writtenAndParsed(request);
  Request taken;
  taken.Take(back);
  for (const auto& [kind, value] : params) {
    I18NString got;
    Check(taken.GetParameter(kind, got) && got == value, "materialize request: parameter");
  }
  const Request::TargetDataSource info = taken.GetTargetDataSourceInfo();
  Check(info.type && *info.type == type && info.database && *info.database == database &&
            info.connectionString && *info.connectionString == connection,
        "materialize request: target data source");
}

void modelAnalysisRequest(Bytes& in) {
  using Task = ZoAnalyzeRequestTaskHelper;
  ZoModelAnalysisRequestHelper request;
  Task* task = request.AddTask(Task::kTaskDoSpecifiedChecks);
  std::vector<I18NString> objects;
  for (unsigned n = in.below(6); n-- > 0;) {
    objects.push_back(valueFrom(in));
    task->AddObject(objects.back());
  }
  task->AddCheck(static_cast<Task::ECheck>(1 + in.below(Task::kCheckCachingConflict)));
  ORVIDOM_Element back = writtenAndParsed(request);
  ZoModelAnalysisRequestHelper taken;
  taken.Take(back);
  Check(taken.GetTasks().size() == 1 && taken.GetTasks()[0]->GetObjects() == objects,
        "model analysis request: objects");
}

void packagesReport(Bytes& in) {
  ZoPackagesReportHelper report;
  std::vector<std::pair<I18NString, I18NString>> packages;
  for (unsigned n = in.below(6); n-- > 0;) {
    packages.emplace_back(valueFrom(in), valueFrom(in));
    report.AddPackage(packages.back().first, packages.back().second);
  }
  ORVIDOM_Element back = writtenAndParsed(report);
  ZoPackagesReportHelper taken;
  taken.Take(back);
  Check(taken.GetPackages().size() == packages.size(), "packages report: count");
  for (std::size_t i = 0; i < packages.size(); ++i) {
    Check(taken.GetPackages()[i]->defaultName == packages[i].first &&
              taken.GetPackages()[i]->cmSearchPath == packages[i].second,
          "packages report: package");
  }
}

void externalizeReport(Bytes& in) {
  using Entry = ZoExternalizeReportHelper::Entry;
  ZoExternalizeReportHelper report;
  std::vector<std::vector<I18NString>> entries;
  for (unsigned n = in.below(6); n-- > 0;) {
    entries.push_back({valueFrom(in), valueFrom(in), valueFrom(in), valueFrom(in)});
    const auto& e = entries.back();
    report.AddEntry(new Entry(e[0], e[1], e[2], e[3]));
  }
  ORVIDOM_Element back = writtenAndParsed(report);
  ZoExternalizeReportHelper taken;
  taken.Take(back);
  Check(taken.GetEntries().size() == entries.size(), "externalize report: count");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry* got = taken.GetEntries()[i];
    // A received report names the path in a "file" child and carries no error, so only the
    // object and the method of a written entry come back.
    Check(got->objectID == entries[i][0] && got->method == entries[i][1],
          "externalize report: entry");
  }
}

void securitySpec(Bytes& in) {
  using SecurityObject = ZoActionHelperSecurityObject;
  using View = ZoActionHelperSecurityObjectSpec::ViewInfo;
  ZoActionHelperSecurityObjectSpec spec;
  const SecurityObject object(valueFrom(in), valueFrom(in),
                              static_cast<SecurityObject::EAccessType>(in.below(3)));
  View view(valueFrom(in));
  std::vector<I18NString> packages;
  for (unsigned n = in.below(4); n-- > 0;) {
    packages.push_back(valueFrom(in));
    view.addPackageRef(packages.back());
  }
  spec.addEntry(object, {view});
  ORVIDOM_Element back = writtenAndParsed(spec);
  ZoActionHelperSecurityObjectSpec taken;
  taken.Take(back);
  std::vector<View> views;
  ORVSmartPointer<SecurityObject> got = taken.getEntry(views);
  Check(got && got->m_cmSearchPath == object.m_cmSearchPath &&
            got->m_displayPath == object.m_displayPath && got->m_type == object.m_type,
        "security spec: security object");
  Check(views.size() == 1 && views[0].getViewRef() == view.getViewRef(), "security spec: view");
}

using Writer = void (*)(Bytes&);
const Writer kWriters[] = {updateRequest,  materializeRequest, modelAnalysisRequest,
                           packagesReport, externalizeReport,  securitySpec};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const Writer write = kWriters[in.byte() % std::size(kWriters)];
  fuzz::Allowed([&] { write(in); });
  return 0;
}
