#pragma once
// String ids of the framework's own messages, in the range the class
// library keeps for itself.
#define AFX_IDP_PARSE_UINT 0xF111
