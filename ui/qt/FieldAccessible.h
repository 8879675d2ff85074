#pragma once

// What assistive technology sees of the read-only line fields, the check boxes and the links: a
// field that shows text it cannot change, a check box whose toggle answers at once, and a link
// with a press that opens its target.
void InstallFieldAccessibles();
