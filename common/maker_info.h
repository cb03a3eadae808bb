#pragma once
// The maker's name, city and web address as the about box shows them; the
// web address is also what a click on it opens.

#define MAKER_NAME_LINE1 "ООО \"Научно-производственное"
#define MAKER_NAME_LINE2 "предприятие Пример\""
#define MAKER_CITY "г. Примерск"
#define MAKER_WEB_ADDRESS "www.example.com"
