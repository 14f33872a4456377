// Every public class of the library: the string, error and DOM layer, the helper base, and the
// helpers of the five families of documents.
#pragma once

#include <Korvath_ActionHelper/orvcore/I18NLocale.h>
#include <Korvath_ActionHelper/orvcore/I18NString.h>
#include <Korvath_ActionHelper/orvcore/ORVAssertError.h>
#include <Korvath_ActionHelper/orvcore/ORVReferenceCount.h>
#include <Korvath_ActionHelper/orvcore/ORVSeverity.h>
#include <Korvath_ActionHelper/orvcore/ORVSmartPointer.h>
#include <Korvath_ActionHelper/orvcore/ORVThreadGuard.h>
#include <Korvath_ActionHelper/orvcore/ORVUtConvert.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Attr.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_DOMException.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_DOMImplementation.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Document.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_ElementIndex.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Helper.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_NamedNodeMap.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Parser.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_PullReader.h>
#include <Korvath_ActionHelper/orvidom/ORVIDOM_Writer.h>

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>
#include <Korvath_ActionHelper/core/Version.h>
#include <Korvath_ActionHelper/core/Vocabulary.h>

#include <Korvath_ActionHelper/modeladmin/ModelAdmin.h>
#include <Korvath_ActionHelper/modeltasks/ModelTasks.h>
#include <Korvath_ActionHelper/queryframework/QueryFramework.h>
#include <Korvath_ActionHelper/queryservice/QueryService.h>
