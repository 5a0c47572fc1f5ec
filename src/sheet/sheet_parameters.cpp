// Loading the parameters into the pages, and saving them.
#include "sheet/zorvik_sheet.h"
#include "sys/kit.h"

CParameterData ZorvikSheet::PageData() {
    return CParameterData{
        m_Misc,   m_Eq.m_slots, m_Res.m_bridges, m_DevRes.m_requirements, m_MiniList.m_miniports,
        m_Vardek, m_Moravik};
}

BOOL ZorvikSheet::LoadParameters() {
    m_locations.Forget();
    return m_store.Load(PageData(), m_locations);
}

BOOL ZorvikSheet::SaveParameters() {
    m_nChangedElsewhere = 0;
    return m_store.Save(PageData(), m_kit, m_Vardek.m_bPresent != 0, &m_nChangedElsewhere);
}
