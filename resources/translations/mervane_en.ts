<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>mervanemac</name>
    <message numerus="yes">
        <source>%n records could not be read</source>
        <translation>
            <numerusform>1 record could not be read</numerusform>
            <numerusform>%n records could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n categories could not be read</source>
        <translation>
            <numerusform>1 category could not be read</numerusform>
            <numerusform>%n categories could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n tags could not be read</source>
        <translation>
            <numerusform>1 tag could not be read</numerusform>
            <numerusform>%n tags could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n category values could not be read</source>
        <translation>
            <numerusform>1 category value could not be read</numerusform>
            <numerusform>%n category values could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n tag references of categories could not be read</source>
        <translation>
            <numerusform>1 tag reference of a category could not be read</numerusform>
            <numerusform>%n tag references of categories could not be read</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n categories</source>
        <translation>
            <numerusform>1 category</numerusform>
            <numerusform>%n categories</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n monthly records</source>
        <translation>
            <numerusform>1 monthly record</numerusform>
            <numerusform>%n monthly records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n records</source>
        <translation>
            <numerusform>1 record</numerusform>
            <numerusform>%n records</numerusform>
        </translation>
    </message>
</context>
</TS>
