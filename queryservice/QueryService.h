// Every helper of the query service interface documents.
#pragma once

#include "queryservice/QsDataSourceFaultHelper.h"
#include "queryservice/QsMetadataRequestHelper.h"
#include "queryservice/QsMetadataResponseHelper.h"
