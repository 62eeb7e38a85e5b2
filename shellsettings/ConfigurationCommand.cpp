#include "shellsettings/ConfigurationCommand.h"

#include "shellsettings/ConfigSheet.h"

void CConfigurationCommand::ShowConfiguration() const
{
    CConfigTab1 verbPage;
    CConfigTab2 extensionPage;
    CConfigTab3 runPage;
    CConfigPropSheet sheet(verbPage, extensionPage, runPage, m_host.OwnerWindow());
    sheet.DoModal();
}
