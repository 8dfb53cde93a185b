/* Splitting a setup-script value into its comma-separated fields. */
#ifndef SCRIPT_FIELD_H
#define SCRIPT_FIELD_H

#define SCRIPT_FIELD_SIZE 256

/* Cuts the next field off rest into field (SCRIPT_FIELD_SIZE bytes): leading and trailing
   blanks removed, the comma consumed. Returns the text after the field. */
const char *SplitScriptField(const char *rest, char *field);

#endif
