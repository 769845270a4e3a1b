<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>TFMessageBox</name>
    <message>
        <source>V redu</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
