// Every public class of the library: the string, error and DOM layer, the helper base, and the
// helpers of the five families of documents.
#pragma once

#include "orvcore/I18NLocale.h"
#include "orvcore/I18NString.h"
#include "orvcore/ORVAssertError.h"
#include "orvcore/ORVReferenceCount.h"
#include "orvcore/ORVSeverity.h"
#include "orvcore/ORVSmartPointer.h"
#include "orvcore/ORVThreadGuard.h"
#include "orvcore/ORVUtConvert.h"
#include "orvidom/ORVIDOM_Attr.h"
#include "orvidom/ORVIDOM_DOMException.h"
#include "orvidom/ORVIDOM_DOMImplementation.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_ElementIndex.h"
#include "orvidom/ORVIDOM_Helper.h"
#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_Parser.h"
#include "orvidom/ORVIDOM_Writer.h"

#include "core/ActionHandlerBase.h"
#include "core/Version.h"
#include "core/Vocabulary.h"

#include "modeladmin/ModelAdmin.h"
#include "modeltasks/ModelTasks.h"
#include "queryframework/QueryFramework.h"
#include "queryservice/QueryService.h"
