#pragma once

#include "DataSetCopier.h"
#include "DatabaseConfig.h"

// The copier for a data set on a PostgreSQL server (pg_dump and pg_restore).
std::unique_ptr<DataSetCopier> MakePgDataSetCopier(const DatabaseConfig &config);
