// Removes the declaration macros after a file included schema/tables/AllTables.def, so that the
// next inclusion can define them anew. Deliberately without an include guard.
#undef DV_TABLE
#undef DV_FIELD
#undef DV_ARRAY
#undef DV_GROUP
#undef DV_MEMO
#undef DV_KEY
#undef DV_RULE
#undef DV_DEFAULT
#undef DV_END_TABLE
