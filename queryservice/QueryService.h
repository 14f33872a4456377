// Every helper of the query service interface documents.
#pragma once
