/* FreeType's modules in the page: the faces packed with it are TrueType, drawn monochrome with
   their own hinting, so the TrueType driver, the SFNT tables and the monochrome rasterizer are
   all the page needs. The others would only add to what the page downloads. */
FT_USE_MODULE(FT_Driver_ClassRec, tt_driver_class)
FT_USE_MODULE(FT_Module_Class, sfnt_module_class)
FT_USE_MODULE(FT_Renderer_Class, ft_raster1_renderer_class)
