#include <framework/classes/ClassRegistry.h>
#include <framework/db/DBCtrlGrid.h>
#include <framework/db/DBNavigator.h>
#include <framework/db/DataSource.h>
#include <framework/db/DbRegistration.h>
#include <framework/db/SqliteDataSet.h>

namespace fw {

void RegisterDataClasses() {
    RegisterClasses({TDataSource::StaticClass(), TSQLiteDataSet::StaticClass(), TDBCtrlGrid::StaticClass(),
                     TDBNavigator::StaticClass()});
}

} // namespace fw
