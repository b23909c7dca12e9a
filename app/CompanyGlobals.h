#pragma once

namespace dv {

// Reads the company record (APPINS, company 1) and, when it names the company, copies its name,
// address, contacts, registration data and picture files into the company variables (GLO), which
// report headings print. A missing record or a blank name leaves the variables blank. The table
// is opened for the read and closed again; a table that cannot be opened is reported as every
// table is.
void copyCompanyGlobals();

}  // namespace dv
