// Every helper of the query service interface documents.
#pragma once

#include "queryservice/QsApiConnectHelper.h"
#include "queryservice/QsDataSourceFaultHelper.h"
#include "queryservice/QsMetadataRequestHelper.h"
#include "queryservice/QsMetadataResponseHelper.h"
#include "queryservice/QsParamValueItemHelper.h"
#include "queryservice/QsParamValueItemHierarchyHelper.h"
#include "queryservice/QsParamValueItemNullHelper.h"
#include "queryservice/QsParamValueItemRangeHelper.h"
#include "queryservice/QsParamValueItemSimpleHelper.h"
#include "queryservice/QsParameterHelper.h"
#include "queryservice/QsPromptFaultHelper.h"
